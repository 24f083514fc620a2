#pragma once
#include <QPlainTextEdit>
#include "views/pane.h"

class CZelkoraDoc;

// The editor of the CASL II source text.
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

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
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
};
