#include "shell/source_view.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTextBlock>
#include "resources/command_ids.h"
#include "shell/main_frame.h"
#include "shell/source_file.h"
#include "simulator/zelkora_doc.h"
#include "views/view_font.h"

CSourceView::CSourceView(CZelkoraDoc& doc, QWidget* parent) : QPlainTextEdit(parent), CPane(doc)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ApplyViewFont(*this);
    SetEightColumnTabs(*this);
}

CSourceView::~CSourceView() { Detach(); }

void CSourceView::OnUpdate(CView*, int hint, CHintUpdateView* object)
{
    if (hint == HINT_SOURCE_GOTO_LINE && object) GoToLine(static_cast<int>(object->m_nLine) - 1);
}

bool CSourceView::GetSourceText(std::string& text) const
{
    text = EditorTextToFileBytes(toPlainText());
    return true;
}

void CSourceView::GetCaretPosition(int& line, int& column)
{
    const QTextCursor cursor = textCursor();
    const int s = cursor.selectionStart(), e = cursor.selectionEnd();
    int side;
    if (s == m_caret.start && e == m_caret.end)
        side = m_caret.side;
    else if (s == m_caret.start)
        side = 1;
    else if (e == m_caret.end)
        side = 0;
    else
        side = (e == m_caret.start) ? 0 : 1;
    m_caret = {s, e, side};

    const int position = side == 1 ? e : s;
    const QTextBlock block = document()->findBlock(position);
    line = block.blockNumber() + 1;
    column = position - block.position() + 1;
}

void CSourceView::GoToLine(int line)
{
    QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid()) block = document()->lastBlock();
    QTextCursor cursor(block);
    setTextCursor(cursor);
    ensureCursorVisible();
    setFocus();
}

void CSourceView::keyPressEvent(QKeyEvent* event)
{
    m_nLineCount = document()->blockCount();
    m_bPressSeen = true;
    QPlainTextEdit::keyPressEvent(event);
}

void CSourceView::keyReleaseEvent(QKeyEvent* event)
{
    QPlainTextEdit::keyReleaseEvent(event);
    if (!m_bPressSeen) return;
    m_bPressSeen = false;
    const int count = document()->blockCount();
    if (count == m_nLineCount) return;
    CHintUpdateView hint;
    hint.m_nLine = static_cast<std::uint32_t>(document()->findBlock(textCursor().selectionStart()).blockNumber() + 1);
    hint.m_nLineDelta = count - m_nLineCount;
    m_nLineCount = count;
    m_doc.UpdateAllViews(this, HINT_SOURCE_LINES_CHANGED, &hint);
}

void CSourceView::contextMenuEvent(QContextMenuEvent* event)
{
    CMainFrame* frame = CMainFrame::Of(this);
    if (!frame) return;
    const QPoint at =
        event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : viewport()->mapToGlobal(QPoint(5, 5));
    frame->PopupMenu(104, at);
}

bool CSourceView::OnCommand(int id)
{
    switch (id) {
    case ID_EDIT_UNDO: undo(); return true;
    case ID_EDIT_CUT: cut(); return true;
    case ID_EDIT_COPY: copy(); return true;
    case ID_EDIT_PASTE: paste(); return true;
    default: return false;
    }
}

bool CSourceView::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.id) {
    case ID_EDIT_UNDO: ui.Enable(document()->isUndoAvailable()); return true;
    case ID_EDIT_CUT:
    case ID_EDIT_COPY: ui.Enable(textCursor().hasSelection()); return true;
    case ID_EDIT_PASTE: ui.Enable(canPaste()); return true;
    default: return false;
    }
}
