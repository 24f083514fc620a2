#include "views/text_pane.h"

#include "resources/command_ids.h"
#include "simulator/zelkora_doc.h"
#include "views/view_font.h"

CTextPane::CTextPane(CZelkoraDoc& doc, QWidget* parent) : QPlainTextEdit(parent), m_doc(doc)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    setFont(LoadViewFont());
    m_doc.AddView(this);
}

CTextPane::~CTextPane()
{
    m_doc.RemoveView(this);
}

bool CTextPane::OnCommand(int id)
{
    if (id != ID_EDIT_COPY) return false;
    copy();
    return true;
}

bool CTextPane::OnUpdateCommand(CCmdUI& ui)
{
    if (ui.id != ID_EDIT_COPY) return false;
    ui.Enable(textCursor().hasSelection());
    return true;
}
