#include "views/device_view.h"

#include "simulator/zelkora_doc.h"
#include "views/pane_text.h"

static_assert(CDeviceView::kMaxLines == CDeviceLog::kLimit, "the lines collected are the lines shown");

CDeviceView::CDeviceView(CZelkoraDoc& doc, QWidget* parent) : CTextPane(doc, parent)
{
    // Each line ends with a line end, so the text holds one empty block after the last line;
    // the document drops the oldest lines itself, all at once for a batch.
    setMaximumBlockCount(kMaxLines + 1);
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(kShowIntervalMs);
    connect(&m_showTimer, &QTimer::timeout, this, &CDeviceView::Flush);
}

void CDeviceView::OnInitialUpdate()
{
    for (const std::string& line : m_doc.GetDeviceLog()) m_pending.Add({}, line);
    Flush();
}

void CDeviceView::OnUpdate(CView*, int hint, CHintUpdateView* object)
{
    if (hint != HINT_DEVICE_OUTPUT) {
        // After a run, or any change the user sees, the pane is complete.
        Flush();
        return;
    }
    if (!object) return;
    m_pending.Add({}, object->m_strText);
    if (!m_showTimer.isActive()) m_showTimer.start();
}

void CDeviceView::Flush()
{
    m_showTimer.stop();
    if (m_pending.empty()) return;
    QString text;
    for (const std::string& line : m_pending) text += PaneText(line) + '\n';
    m_pending.Clear();
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    setTextCursor(end);
    ensureCursorVisible();
}
