#include "views/state_pane.h"

#include <QScrollBar>
#include <cstdio>
#include "simulator/zelkora_doc.h"
#include "text/codepage.h"

CStatePane::CStatePane(CZelkoraDoc& doc, const char* className, Renderer renderer, QWidget* parent)
    : CTextPane(doc, parent), m_className(className), m_renderer(std::move(renderer))
{
}

void CStatePane::OnUpdate(CView*, int hint, CHintUpdateView*)
{
    switch (hint) {
    case HINT_MACHINE_STATE:
    case HINT_REGISTERS_CHANGED:
    case HINT_BREAKPOINTS_CLEARED:
    case HINT_MEMORY_EDITED: Redraw(); break;
    default: break;
    }
}

void CStatePane::Redraw()
{
    const int scroll = verticalScrollBar()->value();
    setPlainText(QString::fromStdString(Cp932ToUtf8(m_renderer(m_doc))));
    verticalScrollBar()->setValue(scroll);
}

namespace {
std::string Hex4(unsigned v)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", v & 0xFFFF);
    return text;
}
}  // namespace

std::string RenderDump(const CZelkoraDoc& doc)
{
    const CMemory& mem = doc.GetCore().GetMemory();
    std::string text;
    for (unsigned row = 0x0100; row < 0x0200; row += 8) {
        text += Hex4(row) + ":";
        for (unsigned i = 0; i < 8; ++i) text += " " + Hex4(mem.GetWord(static_cast<WORD>(row + i)));
        text += "\n";
    }
    return text;
}
