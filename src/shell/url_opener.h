#pragma once
#include <QObject>
#include <QString>
#include <QUrl>

class QProcess;
class QTimer;

// Shows an address with the desktop's opener (xdg-open) without waiting for it: Qt says
// only whether the opener started, so whether anything could show the address comes
// from the opener's exit status. Finished tells it once: when the opener ends within
// answerMs, by its status; when it is still running then (a browser it keeps in the
// foreground), as shown, and the opener is left to go on and never killed.
class CUrlOpener : public QObject {
    Q_OBJECT
public:
    static constexpr int kAnswerMs = 5000;

    // Starts at once; deletes itself once it has told and its opener has ended.
    static CUrlOpener* Open(const QUrl& url, int answerMs = kAnswerMs);

signals:
    void Finished(bool shown);

private:
    CUrlOpener(const QUrl& url, int answerMs);
    void Tell(bool shown);

    QProcess* m_pProcess = nullptr;
    QTimer* m_pTimer = nullptr;
    bool m_bTold = false;
};
