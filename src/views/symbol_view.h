#pragma once
#include "views/list_view_ex.h"

class CLabel;
struct CDragBlock;

// The labels of the program (the hidden literal labels too) with their addresses,
// sorted by name or by address; a click on a column header sorts by that column,
// a second click on the same header reverses the order.
class CSymbolView : public CListViewEx {
    Q_OBJECT
public:
    explicit CSymbolView(CZelkoraDoc& doc, QWidget* parent = nullptr);

    const char* GetClassName() const override { return kSymbolViewClass; }
    void OnInitialUpdate() override;
    void OnUpdate(CView*, int, CHintUpdateView*) override {}

    // Sorts as a click on the header of column (0 name, 1 address) does.
    void ClickColumn(int column);
    int GetSortColumn() const { return m_nSortColumn; }
    int GetSortDirection() const { return m_nSortDirection; }
    const CLabel* GetLabel(int row) const;
    // What dragging row offers: the label's address and name; false for no row.
    bool GetDragBlock(int row, CDragBlock& block) const;

protected:
    void startDrag(Qt::DropActions supportedActions) override;

private:
    void Sort();

    int m_nSortColumn = 0;     // 0 by name, 1 by address
    int m_nSortDirection = 1;  // +1 ascending, -1 descending
};

// How two labels compare in the symbol view's sort: by name, byte by byte (a prefix
// first), or by address, unsigned. Negative, zero or positive.
int CompareLabels(const CLabel& a, const CLabel& b, int column);
