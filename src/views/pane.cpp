#include "views/pane.h"

#include <QFontMetrics>
#include <QWidget>
#include <algorithm>
#include "simulator/zelkora_doc.h"
#include "views/view_font.h"

CPane::CPane(CZelkoraDoc& doc) : m_doc(doc) { m_doc.AddView(this); }

CPane::~CPane() { Detach(); }

void CPane::Detach()
{
    if (!m_bAttached) return;
    m_bAttached = false;
    m_doc.RemoveView(this);
}

void CPane::ApplyViewFont(QWidget& widget)
{
    widget.setFont(LoadViewFont());
    const QFontMetrics metrics(widget.font());
    m_nCharWidth = std::max(1, metrics.averageCharWidth());
    m_nCharHeight = std::max(1, metrics.height());
}
