#pragma once
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Find, and Find and Replace, in the source editor: a window that stays open beside
// it. Replacing goes through the editor's own undo; Replace All is one step of it.
class CFindReplaceDlg : public QDialog {
    Q_OBJECT
public:
    CFindReplaceDlg(QPlainTextEdit& editor, QWidget* parent);

    // Shows the window for finding only or for replacing too, with the editor's
    // selection (one line of it) as the text to find.
    void Open(bool replace);

    void SetFindText(const QString& text);
    void SetReplaceText(const QString& text);
    void SetMatchCase(bool on);
    // What the buttons do; each tells the result in the window's status line.
    bool FindNext(bool backward = false);
    bool ReplaceOne();
    int ReplaceAll();
    QString GetStatus() const;

private:
    bool Matches(const QString& selected) const;

    QPlainTextEdit& m_editor;
    QLineEdit* m_pFind;
    QLineEdit* m_pReplace;
    QLabel* m_pReplaceLabel;
    QCheckBox* m_pMatchCase;
    QPushButton* m_pFindNext;
    QPushButton* m_pFindPrevious;
    QPushButton* m_pReplaceOne;
    QPushButton* m_pReplaceAll;
    QLabel* m_pStatus;
};
