#include "views/state_pane.h"

#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <vector>
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

std::string RenderListing(const CZelkoraDoc& doc)
{
    const WORD pr = doc.GetCore().GetRegisters()[REG_PR];
    const CMnemonic* current = doc.GetAssembler().GetProgram().FindExecutable(pr);
    std::string text;
    for (const auto& s : doc.GetAssembler().GetProgram()) {
        text += s.get() == current ? "=>" : "  ";
        text += s->HasBreakpoint() ? "* " : "  ";
        text += Hex4(s->GetAddress()) + "  " + s->GetExpandedSource() + "\n";
    }
    return text;
}

std::string RenderRegisters(const CZelkoraDoc& doc)
{
    const CRegister& reg = doc.GetCore().GetRegisters();
    std::string text;
    for (int r = 0; r < REG_COUNT; ++r) {
        char line[64];
        std::snprintf(line, sizeof line, "%-3s #%04X %6d %5u\n", std::string(GetRegisterName(r)).c_str(),
                      unsigned{reg[r]}, AsSigned(reg[r]), unsigned{reg[r]});
        text += line;
    }
    char flags[48];
    std::snprintf(flags, sizeof flags, "OF=%d SF=%d ZF=%d\n", reg.GetFlag(FLAG_OF), reg.GetFlag(FLAG_SF),
                  reg.GetFlag(FLAG_ZF));
    return text + flags;
}

std::string RenderStack(const CZelkoraDoc& doc)
{
    const CRegister& reg = doc.GetCore().GetRegisters();
    const CMemory& mem = doc.GetCore().GetMemory();
    std::string text;
    WORD address = reg[REG_SP];
    for (int i = 0; i < 16; ++i, ++address) text += Hex4(address) + "  #" + Hex4(mem.GetWord(address)) + "\n";
    return text;
}

std::string RenderSymbols(const CZelkoraDoc& doc)
{
    std::vector<std::pair<std::string, WORD>> labels;
    for (const CLabel& label : doc.GetAssembler().GetLabels()) labels.emplace_back(label.GetName(), label.GetValue());
    std::sort(labels.begin(), labels.end());
    std::string text;
    for (const auto& [name, value] : labels) text += name + std::string(name.size() < 10 ? 10 - name.size() : 1, ' ') + "#" + Hex4(value) + "\n";
    return text;
}

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
