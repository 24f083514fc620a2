#include "shell/url_opener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

CUrlOpener* CUrlOpener::Open(const QUrl& url, int answerMs) { return new CUrlOpener(url, answerMs); }

CUrlOpener::CUrlOpener(const QUrl& url, int answerMs)
{
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (opener.isEmpty()) {
        // Whatever Qt may use instead; its answer is all there is. Told once the caller has connected.
        const bool shown = QDesktopServices::openUrl(url);
        QTimer::singleShot(0, this, [this, shown] { Tell(shown); });
        return;
    }
    m_pProcess = new QProcess(this);
    m_pProcess->setStandardInputFile(QProcess::nullDevice());
    m_pProcess->setStandardOutputFile(QProcess::nullDevice());
    m_pProcess->setStandardErrorFile(QProcess::nullDevice());
    connect(m_pProcess, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        Tell(status == QProcess::NormalExit && code == 0);
        deleteLater();
    });
    connect(m_pProcess, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        Tell(false);
        deleteLater();
    });
    m_pTimer = new QTimer(this);
    m_pTimer->setSingleShot(true);
    connect(m_pTimer, &QTimer::timeout, this, [this] { Tell(true); });
    m_pTimer->start(answerMs);
    m_pProcess->start(opener, {url.toString()});
}

void CUrlOpener::Tell(bool shown)
{
    if (m_bTold) return;
    m_bTold = true;
    if (m_pTimer) m_pTimer->stop();
    emit Finished(shown);
    if (!m_pProcess) deleteLater();
}
