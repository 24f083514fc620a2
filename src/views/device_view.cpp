#include "views/device_view.h"

#include <QScrollBar>
#include <QTextBlock>
#include "resources/command_ids.h"
#include "simulator/zelkora_doc.h"
#include "text/codepage.h"
#include "views/view_font.h"

CDeviceView::CDeviceView(CZelkoraDoc& doc, QWidget* parent) : QPlainTextEdit(parent), m_doc(doc)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(LoadViewFont());
    setUndoRedoEnabled(false);
    m_doc.AddView(this);
}

CDeviceView::~CDeviceView()
{
    m_doc.RemoveView(this);
}

void CDeviceView::InitialUpdate()
{
    for (const std::string& line : m_doc.GetDeviceLog()) AppendLine(line);
}

void CDeviceView::OnUpdate(CView*, int hint, CHintUpdateView* object)
{
    if (hint == HINT_DEVICE_OUTPUT && object) AppendLine(object->m_strText);
}

void CDeviceView::AppendLine(const std::string& line)
{
    // Each line ends with a line end, so the text holds one empty block after the last line.
    QTextDocument* doc = document();
    if (doc->blockCount() > kMaxLines) {
        QTextCursor first(doc->firstBlock());
        first.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        first.removeSelectedText();
    }
    QTextCursor end(doc);
    end.movePosition(QTextCursor::End);
    end.insertText(QString::fromStdString(Cp932ToUtf8(line)) + "\n");
    setTextCursor(end);
    ensureCursorVisible();
}

bool CDeviceView::OnCommand(int id)
{
    if (id != ID_EDIT_COPY) return false;
    copy();
    return true;
}

bool CDeviceView::OnUpdateCommand(CCmdUI& ui)
{
    if (ui.id != ID_EDIT_COPY) return false;
    ui.Enable(textCursor().hasSelection());
    return true;
}
