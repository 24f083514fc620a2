#include "views/symbol_view.h"

#include <QHeaderView>
#include <cstdio>
#include "machine/hex.h"
#include "simulator/zelkora_doc.h"
#include "views/drag_drop.h"

int CompareLabels(const CLabel& a, const CLabel& b, int column)
{
    if (column == 1) return static_cast<int>(a.GetValue()) - static_cast<int>(b.GetValue());
    // std::string compares as unsigned bytes, so "_" (5F) follows the capitals and digits.
    const int order = a.GetName().compare(b.GetName());
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

CSymbolView::CSymbolView(CZelkoraDoc& doc, QWidget* parent) : CListViewEx(doc, Selection::Single, parent)
{
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(true);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    connect(header(), &QHeaderView::sectionClicked, this, &CSymbolView::ClickColumn);
}

void CSymbolView::OnInitialUpdate()
{
    AddColumn("LABEL", 10, Qt::AlignLeft);
    AddColumn("ADDR", 7, Qt::AlignRight);
    CListRowStore& rows = GetRows();
    rows.BeginAddRows();
    for (const CLabel& label : m_doc.GetAssembler().GetLabels()) {
        rows.AddRow({label.GetName(), Hex4(label.GetValue())}, 0, reinterpret_cast<std::uintptr_t>(&label));
    }
    rows.EndAddRows();
    Sort();
}

const CLabel* CSymbolView::GetLabel(int row) const
{
    if (row < 0 || row >= GetRows().GetRowCount()) return nullptr;
    return reinterpret_cast<const CLabel*>(GetRows().GetData(row));
}

void CSymbolView::ClickColumn(int column)
{
    if (column == m_nSortColumn) {
        m_nSortDirection = -m_nSortDirection;
    } else {
        m_nSortColumn = column;
        m_nSortDirection = 1;
    }
    Sort();
}

void CSymbolView::Sort()
{
    const int column = m_nSortColumn, direction = m_nSortDirection;
    GetRows().SortByData([column, direction](std::uintptr_t a, std::uintptr_t b) {
        const auto* la = reinterpret_cast<const CLabel*>(a);
        const auto* lb = reinterpret_cast<const CLabel*>(b);
        if (!la || !lb) return false;
        return CompareLabels(*la, *lb, column) * direction < 0;
    });
    header()->setSortIndicator(column, direction > 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    FullRedraw();
}

bool CSymbolView::GetDragBlock(int row, CDragBlock& block) const
{
    const CLabel* label = GetLabel(row);
    if (!label) return false;
    block = CDragBlock{label->GetValue(), label->GetName()};
    return true;
}

void CSymbolView::startDrag(Qt::DropActions)
{
    CDragBlock block;
    if (GetDragBlock(currentIndex().row(), block)) StartBlockDrag(this, kSymbolFormat, block);
}
