#pragma once
#include <QStatusBar>

class QLabel;
class QProgressBar;

// The status bar: the message pane ("ﾚﾃﾞｨ" while idle), the run indicator and the
// caret position of the source editor.
class CZelkoraStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit CZelkoraStatusBar(QWidget* parent = nullptr);

    QProgressBar* GetProgress() const { return m_pProgress; }
    QLabel* GetCaretPane() const { return m_pCaret; }
    void SetCaretPane(bool enabled, const QString& text);

private:
    QProgressBar* m_pProgress;
    QLabel* m_pCaret;
};

// "%3d行 / %3d列"
QString FormatCaretPane(int line, int column);
