#include "views/device_view.h"

#include <QScrollBar>
#include <QTextBlock>
#include "simulator/zelkora_doc.h"
#include "text/codepage.h"

CDeviceView::CDeviceView(CZelkoraDoc& doc, QWidget* parent) : CTextPane(doc, parent) {}

void CDeviceView::OnInitialUpdate()
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
