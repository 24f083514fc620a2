#include "views/output_view.h"

#include <QMouseEvent>
#include <QTextBlock>
#include "simulator/zelkora_doc.h"

COutputView::COutputView(CZelkoraDoc& doc, QWidget* parent) : CTextPane(doc, parent)
{
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void COutputView::OnUpdate(CView*, int hint, CHintUpdateView* object)
{
    switch (hint) {
    case HINT_ASSEMBLE_BEGIN:
        m_errors.clear();
        clear();
        break;
    case HINT_ASSEMBLE_ERRORS:
        if (object && object->m_pObject) {
            m_errors.clear();
            for (const auto& error : object->m_pObject->GetErrors())
                m_errors.push_back({error->GetLineNumber(), error->GetMessage()});
            ShowErrors();
        }
        break;
    case HINT_SOURCE_LINES_CHANGED:
        if (object) RenumberErrors(static_cast<int>(object->m_nLine), object->m_nLineDelta);
        break;
    default:
        break;
    }
}

void COutputView::RenumberErrors(int line, int delta)
{
    if (m_errors.empty()) return;
    for (CShownError& error : m_errors) {
        const int n = error.line;
        if (n == -1) continue;
        if (delta >= 1) {
            if (n >= line - delta) error.line = n + delta;
        } else if (n >= line) {
            error.line = n < line - delta ? -1 : n + delta;
        }
    }
    ShowErrors();
}

void COutputView::ShowErrors()
{
    QString text;
    for (const CShownError& error : m_errors)
        text += QString::fromStdString(CAssembleError::FormatText(error.line, error.message)) + "\n";
    setPlainText(text);
}

void COutputView::ActivateLine(int textLine)
{
    if (textLine < 0 || static_cast<size_t>(textLine) >= m_errors.size()) return;
    const int line = m_errors[static_cast<size_t>(textLine)].line;
    if (line == -1) {
        m_doc.GetHost().Beep();
        return;
    }
    CHintUpdateView hint;
    hint.m_nLine = static_cast<std::uint32_t>(line);
    m_doc.UpdateAllViews(this, HINT_SOURCE_GOTO_LINE, &hint);
}

void COutputView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QTextCursor cursor = cursorForPosition(event->position().toPoint());
    // Below the last text line the cursor lands on the last line: only a hit inside a line counts.
    const QRectF lineRect = blockBoundingGeometry(cursor.block()).translated(contentOffset());
    if (event->position().y() <= lineRect.bottom()) ActivateLine(cursor.blockNumber());
    event->accept();
}
