#include "views/text_pane.h"

#include "resources/command_ids.h"
#include "simulator/zelkora_doc.h"
#include "views/view_font.h"

CTextPane::CTextPane(CZelkoraDoc& doc, QWidget* parent) : QPlainTextEdit(parent), CPane(doc)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    ApplyViewFont(*this);
    SetEightColumnTabs(*this);
    // These panes have no menu, and the request goes no further (not to the window menu).
    setContextMenuPolicy(Qt::PreventContextMenu);
}

CTextPane::~CTextPane() { Detach(); }

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
