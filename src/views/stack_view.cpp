#include "views/stack_view.h"

#include <cstdio>
#include "machine/hex.h"
#include "simulator/zelkora_doc.h"
#include "views/image_list.h"

CStackView::CStackView(CZelkoraDoc& doc, QWidget* parent) : CListViewEx(doc, Selection::Single, parent)
{
    SetImageList(&StackMarkers());
}

void CStackView::OnInitialUpdate()
{
    AddColumn("STACK", 12, Qt::AlignLeft);
    AddColumn("VALUE", 7, Qt::AlignRight);
    // The stored texts are never shown: every paint reads SP and memory.
    for (int i = 0; i < kRows; ++i) GetRows().AddRow({"0000", "0000"}, 0, 0);
}

WORD CStackView::AddressOf(int row) const { return static_cast<WORD>(m_doc.GetCore().GetRegisters()[REG_SP] + row); }

void CStackView::PrepareItem(int row, CListItem& item) const
{
    item.text = Hex4(AddressOf(row));
    item.image = row == 0 ? 1 : 0;
}

void CStackView::PrepareSubItemText(int row, int column, std::string& text) const
{
    if (column == 1) text = Hex4(m_doc.GetCore().GetMemory().GetWord(AddressOf(row)));
}

bool CStackView::IsValueChanged(int row, int column) const
{
    const CCometCore& core = m_doc.GetCore();
    return column == 1 &&
           m_doc.GetChangeMarks().IsStackRowChanged(AddressOf(row), core.GetRegisters(), core.GetMemory());
}

void CStackView::OnUpdate(CView*, int hint, CHintUpdateView*)
{
    if (hint == HINT_MEMORY_EDITED || hint == HINT_REGISTERS_CHANGED || hint == HINT_MACHINE_STATE) FullRedraw();
}
