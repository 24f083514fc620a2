#include "views/list_view_ex.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QScrollBar>
#include "simulator/zelkora_doc.h"
#include "views/list_row_delegate.h"
#include "views/popup_menu_host.h"

CListViewEx::CListViewEx(CZelkoraDoc& doc, Selection selection, QWidget* parent)
    : QTreeView(parent), CPane(doc), m_pRows(new CListRowStore(this)), m_pDelegate(new CListRowDelegate(*this))
{
    ApplyViewFont(*this);
    setModel(m_pRows);
    setItemDelegate(m_pDelegate);
    setRootIsDecorated(false);
    setIndentation(0);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(selection == Selection::Single ? QAbstractItemView::SingleSelection
                                                    : QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
    setDropIndicatorShown(false);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setHighlightSections(false);
}

CListViewEx::~CListViewEx()
{
    // Out of the document's view list before the widget parts go.
    Detach();
}

void CListViewEx::AddColumn(const char* header, int widthChars, Qt::Alignment alignment)
{
    m_pRows->AddColumn(QString::fromUtf8(header), alignment);
    this->header()->resizeSection(m_pRows->GetColumnCount() - 1, widthChars * m_nCharWidth);
}

int CListViewEx::GetSelectedRow() const
{
    const QList<int> rows = GetSelectedRows();
    return rows.isEmpty() ? -1 : rows.first();
}

QList<int> CListViewEx::GetSelectedRows() const
{
    QList<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row) rows << row;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void CListViewEx::SelectRow(int row)
{
    if (row < 0 || row >= m_pRows->GetRowCount()) return;
    selectionModel()->setCurrentIndex(m_pRows->index(row, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int CListViewEx::GetRowHeight() const { return m_pDelegate->GetRowHeight(); }

int CListViewEx::GetTopRow() const { return verticalScrollBar()->value(); }

void CListViewEx::EnsureRowVisible(int row)
{
    if (row < 0 || row >= m_pRows->GetRowCount()) return;
    // Rows scroll one at a time, so the scroll position is the top row: no search needed.
    executeDelayedItemsLayout();
    const int visible = std::max(1, viewport()->height() / GetRowHeight());
    const int top = GetTopRow();
    if (row < top)
        verticalScrollBar()->setValue(row);
    else if (row >= top + visible)
        verticalScrollBar()->setValue(row - visible + 1);
}

QRect CListViewEx::RowRect(int row) const
{
    const int y = (row - GetTopRow()) * GetRowHeight();
    return QRect(0, y, viewport()->width(), GetRowHeight());
}

void CListViewEx::FullRedraw() { viewport()->update(); }

void CListViewEx::RedrawRow(int row) { viewport()->update(RowRect(row)); }

CListItem CListViewEx::GetShownItem(int row) const
{
    CListItem item;
    item.text = std::string(m_pRows->GetText(row, 0));
    item.image = m_pRows->GetImage(row);
    item.state = m_pRows->GetState(row) & ~(LIST_STATE_SELECTED | LIST_STATE_FOCUSED);
    const QModelIndex index = m_pRows->index(row, 0);
    if (selectionModel()->isRowSelected(row, QModelIndex())) item.state |= LIST_STATE_SELECTED;
    if (selectionModel()->currentIndex().row() == row && index.isValid()) item.state |= LIST_STATE_FOCUSED;
    PrepareItem(row, item);
    item.text = std::string(CutCp932(item.text, CListRowStore::kTextCapacity - 1));
    return item;
}

std::string CListViewEx::GetShownText(int row, int column) const
{
    if (column == 0) return GetShownItem(row).text;
    std::string text(m_pRows->GetText(row, column));
    PrepareSubItemText(row, column, text);
    return std::string(CutCp932(text, CListRowStore::kTextCapacity - 1));
}

void CListViewEx::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    m_pDelegate->PaintRow(*painter, option.rect, index.row());
}

void CListViewEx::RepaintSelectedRows()
{
    // The highlight is drawn only while the pane has the focus.
    QList<int> rows = GetSelectedRows();
    const int focused = selectionModel()->currentIndex().row();
    if (focused >= 0) rows << focused;
    for (int row : rows) RedrawRow(row);
}

// Which pane the keys go to shows at a glance, also in a pane with no selected row.
void CListViewEx::ShowFocusInHeader()
{
    QPalette colours;
    if (hasFocus()) {
        colours = palette();
        colours.setColor(QPalette::Button, colours.color(QPalette::Highlight));
        colours.setColor(QPalette::ButtonText, colours.color(QPalette::HighlightedText));
    }
    header()->setPalette(colours);  // without focus, an empty palette: the pane's own again
}

void CListViewEx::focusInEvent(QFocusEvent* event)
{
    QTreeView::focusInEvent(event);
    RepaintSelectedRows();
    ShowFocusInHeader();
}

void CListViewEx::focusOutEvent(QFocusEvent* event)
{
    QTreeView::focusOutEvent(event);
    RepaintSelectedRows();
    ShowFocusInHeader();
}

void CListViewEx::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    m_nClientWidth = viewport()->width();
}

void CListViewEx::keyboardSearch(const QString&)
{
    // No search by typing: on a listing of 400,000 rows it would read every row.
}

void CListViewEx::contextMenuEvent(QContextMenuEvent* event) { event->accept(); }

void CListViewEx::ShowPopupMenu(int menuId, QContextMenuEvent* event)
{
    IPopupMenuHost* host = IPopupMenuHost::Of(this);
    if (!host) return;
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? event->globalPos() : mapToGlobal(QPoint(5, 5));
    host->PopupMenu(menuId, at);
}

void CListViewEx::Beep() const { m_doc.GetHost().Beep(); }
