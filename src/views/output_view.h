#pragma once
#include "views/text_pane.h"

class CAssembleErrorArray;
class CZelkoraDoc;

// The error list below the source editor: one "ERROR #n: message" line per error.
// Keeps the errors' line numbers in step with lines inserted or deleted in the
// editor, and sends the editor to an error's line on a double click.
class COutputView : public CTextPane {
    Q_OBJECT
public:
    COutputView(CZelkoraDoc& doc, QWidget* parent = nullptr);

    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;
    const char* GetClassName() const override { return "COutputView"; }

    // Renumbers the errors after the editor's line count changed by delta with the caret on line (1-based).
    void RenumberErrors(int line, int delta);
    // What a double click on a text line (from 0) does.
    void ActivateLine(int textLine);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ShowErrors();

    CAssembleErrorArray* m_pErrors = nullptr;
};
