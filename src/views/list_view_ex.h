#pragma once
#include <QList>
#include <QTreeView>
#include <string>
#include <vector>
#include "views/list_rows.h"
#include "views/pane.h"

class CImageList;
class CListRowDelegate;

// The list pane that the listing, register, stack, symbol and watch panes derive
// from: rows in a store built once, drawn by the pane itself from the document's
// live state through two hooks, the selection highlighted over the whole row
// while the pane has the focus, the last column reaching the pane's right edge,
// long texts cut with "..." only where that edge leaves them no room.
class CListViewEx : public QTreeView, public CPane {
    Q_OBJECT
public:
    enum class Selection { Single, Multiple };

    CListViewEx(CZelkoraDoc& doc, Selection selection, QWidget* parent = nullptr);
    ~CListViewEx() override;

    CListRowStore& GetRows() { return *m_pRows; }
    const CListRowStore& GetRows() const { return *m_pRows; }
    // A column widthChars average character widths wide (the last one at least that wide
    // while the pane has room, and as wide as the pane allows).
    void AddColumn(const char* header, int widthChars, Qt::Alignment alignment);
    // The width the pane needs to show every column at the width it was made with, frame included.
    int GetColumnsWidth() const;
    void SetImageList(const CImageList* images) { m_pImages = images; }
    const CImageList* GetImageList() const { return m_pImages; }

    // The first selected row, or -1; all selected rows in order.
    int GetSelectedRow() const;
    QList<int> GetSelectedRows() const;
    // Makes row the only selected row and the focused row.
    void SelectRow(int row);
    // Scrolls the least that shows all of row.
    void EnsureRowVisible(int row);
    // Keeps row where rows below it show as well (see BandTopRow): scrolls only when it
    // is out of that band, and then brings it to the middle.
    void KeepRowInBand(int row);
    int GetTopRow() const;
    // Rows that show whole in the pane.
    int GetVisibleRowCount() const;

    // What a row shows now: its item after PrepareItem, a column's text after PrepareSubItemText.
    CListItem GetShownItem(int row) const;
    std::string GetShownText(int row, int column) const;

    // Repaints everything from the live state; rows, selection and scroll position stay.
    void FullRedraw();
    void RedrawRow(int row);
    int GetRowHeight() const;

protected:
    // Called for every column after the first, with the stored text, before it is drawn.
    virtual void PrepareSubItemText(int /*row*/, int /*column*/, std::string& /*text*/) const {}
    // Called once per drawn row, with its stored label, image and state.
    virtual void PrepareItem(int /*row*/, CListItem& /*item*/) const {}
    // Whether a cell shows a value the last command changed (drawn in the changed colour);
    // asked only for the cells being drawn.
    virtual bool IsValueChanged(int /*row*/, int /*column*/) const { return false; }
    // Shows pop-up menu menuId for a context-menu request, at the mouse or, from the keyboard, near the top left.
    void ShowPopupMenu(int menuId, QContextMenuEvent* event);
    // The platform's exclamation beep, through the document's host.
    void Beep() const;

    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyboardSearch(const QString& search) override;
    // A click selects the row under the pointer without scrolling it, so that a double
    // click that follows lands on the same row.
    void mousePressEvent(QMouseEvent* event) override;
    // Panes without a menu of their own show none, and the request goes no further.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    friend class CListRowDelegate;
    void RepaintSelectedRows();
    // The header in the selection's colours while the pane has the keyboard focus.
    void ShowFocusInHeader();
    void StretchLastColumn();
    QRect RowRect(int row) const;

    CListRowStore* m_pRows;
    CListRowDelegate* m_pDelegate;
    const CImageList* m_pImages = nullptr;
    int m_nClientWidth = 0;
    std::vector<int> m_columnWidths;  // as each column was made
};
