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
        m_errors.RemoveAll();
        m_activateResult = nullptr;
        clear();
        break;
    case HINT_ASSEMBLE_ERRORS:
        if (object && object->m_pObject) {
            m_errors = object->m_pObject->GetErrors();
            ShowErrors();
        }
        break;
    case HINT_SOURCE_LINES_CHANGED:
        if (object) RenumberErrors(static_cast<int>(object->m_nLine), object->m_nLineDelta);
        break;
    default: break;
    }
}

void COutputView::RenumberErrors(int line, int delta)
{
    if (m_errors.IsEmpty()) return;
    m_errors.RenumberLines(line, delta);
    ShowErrors();
}

void COutputView::ShowErrors()
{
    QString text;
    for (const auto& error : m_errors) text += QString::fromStdString(error->GetText()) + "\n";
    setPlainText(text);
}

void COutputView::ShowResults(const QStringList& lines, std::function<void(int)> activate)
{
    m_errors.RemoveAll();
    m_activateResult = std::move(activate);
    setPlainText(lines.join('\n'));
}

void COutputView::ActivateLine(int textLine)
{
    if (m_activateResult) {
        // A copy: what it does may show other results in its place.
        const auto activate = m_activateResult;
        activate(textLine);
        return;
    }
    if (textLine < 0 || static_cast<size_t>(textLine) >= m_errors.GetSize()) return;
    const int line = m_errors[static_cast<size_t>(textLine)].GetLineNumber();
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
