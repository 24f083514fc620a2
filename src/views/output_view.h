#pragma once
#include <functional>
#include <string>
#include <vector>
#include "assembler/assemble_error.h"
#include "views/text_pane.h"

class CZelkoraDoc;

// The error list below the source editor: one "ERROR #n: message" line per error.
// Keeps its own copy of the errors' line numbers, in step with lines inserted or
// deleted in the editor, and sends the editor to an error's line on a double click.
class COutputView : public CTextPane {
    Q_OBJECT
public:
    COutputView(CZelkoraDoc& doc, QWidget* parent = nullptr);

    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;
    const char* GetClassName() const override { return kOutputViewClass; }

    // Renumbers the errors after the editor's line count changed by delta with the caret on line (1-based).
    void RenumberErrors(int line, int delta);
    // What a double click on a text line (from 0) does.
    void ActivateLine(int textLine);
    // Lines of another kind (test results) in place of the errors, until the next
    // assembly: a double click on text line i calls activate(i).
    void ShowResults(const QStringList& lines, std::function<void(int)> activate);
    // The line number (1-based, -1 for none) that error i now points at.
    int GetErrorLine(size_t i) const { return i < m_errors.GetSize() ? m_errors[i].GetLineNumber() : -1; }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ShowErrors();

    CAssembleErrorArray m_errors;  // a copy of the assembler's: the pane renumbers it
    std::function<void(int)> m_activateResult;
};
