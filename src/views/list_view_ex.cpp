#include "views/list_view_ex.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <numeric>
#include "simulator/zelkora_doc.h"
#include "views/list_row_delegate.h"
#include "views/popup_menu_host.h"
#include "views/scroll_band.h"

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
    connect(header(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column != header()->count() - 1) StretchLastColumn();
    });
}

CListViewEx::~CListViewEx()
{
    // Out of the document's view list before the widget parts go.
    Detach();
}

void CListViewEx::AddColumn(const char* header, int widthChars, Qt::Alignment alignment)
{
    // The column that was last until now stretched; it gets the width it was made with.
    if (!m_columnWidths.empty()) this->header()->resizeSection(m_pRows->GetColumnCount() - 1, m_columnWidths.back());
    m_pRows->AddColumn(QString::fromUtf8(header), alignment);
    m_columnWidths.push_back(widthChars * m_nCharWidth);
    this->header()->resizeSection(m_pRows->GetColumnCount() - 1, m_columnWidths.back());
    StretchLastColumn();
}

int CListViewEx::GetColumnsWidth() const
{
    return std::accumulate(m_columnWidths.begin(), m_columnWidths.end(), 2 * frameWidth());
}

void CListViewEx::StretchLastColumn()
{
    // The last column takes the room the others leave, however wide the pane is: long
    // source lines and watch values show whole wherever the pane has the room, and are
    // cut at its edge, not at a width fixed beforehand, where it has not.
    QHeaderView* columns = header();
    const int last = columns->count() - 1;
    if (last < 0) return;
    const int others = columns->length() - columns->sectionSize(last);
    const int width = std::max(columns->minimumSectionSize(), viewport()->width() - others);
    if (columns->sectionSize(last) != width) columns->resizeSection(last, width);
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
    const int visible = std::max(1, GetVisibleRowCount());
    const int top = GetTopRow();
    if (row < top)
        verticalScrollBar()->setValue(row);
    else if (row >= top + visible)
        verticalScrollBar()->setValue(row - visible + 1);
}

int CListViewEx::GetVisibleRowCount() const { return viewport()->height() / GetRowHeight(); }

void CListViewEx::KeepRowInBand(int row)
{
    if (row < 0 || row >= m_pRows->GetRowCount()) return;
    executeDelayedItemsLayout();
    // Rows scroll one at a time, so the scroll position is the top row.
    const int top = BandTopRow(row, GetTopRow(), GetVisibleRowCount(), m_pRows->GetRowCount());
    if (top != GetTopRow()) verticalScrollBar()->setValue(top);
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
    StretchLastColumn();
}

void CListViewEx::keyboardSearch(const QString&)
{
    // No search by typing: on a listing of 400,000 rows it would read every row.
}

void CListViewEx::mousePressEvent(QMouseEvent* event)
{
    // The current row follows the click without the list scrolling it fully into view a
    // moment later: that would move another row under the pointer (a partly shown last
    // row, say), and a double click made there next would miss the row clicked.
    const bool scrolls = hasAutoScroll();
    setAutoScroll(false);
    QTreeView::mousePressEvent(event);
    setAutoScroll(scrolls);
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
