#pragma once
#include <QStatusBar>

class QLabel;
class QProgressBar;

// The status bar: the message pane ("ﾚﾃﾞｨ" while idle), the run indicator, the
// caret position of the source editor and its file's encoding and line ends.
class CZelkoraStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit CZelkoraStatusBar(QWidget* parent = nullptr);

    QProgressBar* GetProgress() const { return m_pProgress; }
    QLabel* GetCaretPane() const { return m_pCaret; }
    void SetCaretPane(bool enabled, const QString& text);
    // The source file's encoding and line ends.
    QLabel* GetFormatPane() const { return m_pFormat; }
    void SetFormatPane(const QString& text);

private:
    QProgressBar* m_pProgress;
    QLabel* m_pCaret;
    QLabel* m_pFormat;
};

// "%3d行 / %3d列"
QString FormatCaretPane(int line, int column);
