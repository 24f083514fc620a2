#pragma once
#include <QPlainTextEdit>
#include <QTextCursor>
#include <vector>
#include "text/source_text.h"
#include "views/pane.h"

class CZelkoraDoc;
class CFindReplaceDlg;

// The editor of the CASL II source text: line numbers and marks in a gutter on the
// left, the syntax in colour, the caret's line and, while the simulator window is
// open, the line of the statement at PR.
class CSourceView : public QPlainTextEdit, public CPane {
    Q_OBJECT
public:
    CSourceView(CZelkoraDoc& doc, QWidget* parent = nullptr);
    ~CSourceView() override;

    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;
    const char* GetClassName() const override { return kSourceViewClass; }
    bool GetSourceText(std::string& text) const override;
    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // Line and column of the caret, both from 1; the caret end of a selection is told
    // from which end moved since the last call (the call remembers the selection).
    void GetCaretPosition(int& line, int& column);
    // Caret to the start of the line (from 0), nothing selected, focus here.
    void GoToLine(int line);

    // The lines (from 1) marked as wrong by the last assembly, where they are now.
    std::vector<int> GetErrorLines() const;
    // The line (from 1) of the statement at PR, or 0 while the simulator window is closed.
    int GetPrLine() const { return m_nPrBlock + 1; }
    CFindReplaceDlg* GetFindDialog() const { return m_pFind; }
    // How the text is written to its file: encoding and line ends.
    const CSourceFormat& GetFormat() const { return m_format; }
    void SetFormat(const CSourceFormat& format) { m_format = format; }
    // Colouring on or off for all editors (for measuring what it costs).
    static void SetSyntaxColouring(bool on);

    // The gutter's painting, done here where the blocks' geometry is known.
    void PaintGutter(QWidget& gutter, const QRect& rect);
    int GutterWidth() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateGutterWidth();
    void UpdateLineHighlights();
    // Follows PR: marks its statement's line and scrolls it into view when it is not.
    void FollowPr();
    int FindPrBlock() const;
    void OpenFind(bool replace);

    // The selection at the last caret query, and at which end the caret was.
    struct CCaretMemory {
        int start = -1;
        int end = -1;
        int side = 1;  // 1: the caret is at the selection's end; 0: at its start
    } m_caret;
    int m_nLineCount = 1;
    // A key whose press went to an accelerator (F7, say) is released here without
    // its press: only a release that follows a press seen here is compared.
    bool m_bPressSeen = false;
    QWidget* m_pGutter;
    // At the start of each line with an error; the cursors move with the text.
    std::vector<QTextCursor> m_errorMarks;
    int m_nPrBlock = -1;
    CFindReplaceDlg* m_pFind = nullptr;
    CSourceFormat m_format;
};
