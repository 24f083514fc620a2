#include "views/list_rows.h"

#include <algorithm>
#include <numeric>
#include "views/pane_text.h"

std::string_view CutCp932(std::string_view text, size_t maxBytes)
{
    if (text.size() <= maxBytes) return text;
    size_t end = 0;
    while (end < maxBytes) {
        const auto lead = static_cast<unsigned char>(text[end]);
        const size_t width = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
        if (end + width > maxBytes) break;
        end += width;
    }
    return text.substr(0, end);
}

void CListRowStore::AddColumn(const QString& header, Qt::Alignment alignment)
{
    const int column = static_cast<int>(m_columns.size());
    beginInsertColumns(QModelIndex(), column, column);
    m_columns.push_back({header, alignment});
    endInsertColumns();
}

Qt::Alignment CListRowStore::GetColumnAlignment(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[static_cast<size_t>(column)].alignment : Qt::AlignLeft;
}

CListRowStore::Span CListRowStore::Store(std::string_view text)
{
    text = CutCp932(text, kTextCapacity - 1);
    Span span{static_cast<std::uint32_t>(m_arena.size()), static_cast<std::uint32_t>(text.size())};
    m_arena.append(text);
    return span;
}

int CListRowStore::AddRow(std::initializer_list<std::string_view> texts, int image, std::uintptr_t data)
{
    const int row = GetRowCount();
    if (m_nBatchFirst < 0) beginInsertRows(QModelIndex(), row, row);
    const auto columns = static_cast<std::uint32_t>(std::max<size_t>({1, m_columns.size(), texts.size()}));
    Row r{static_cast<std::uint32_t>(m_spans.size()), columns, image, 0, data};
    for (std::string_view text : texts) m_spans.push_back(Store(text));
    m_spans.resize(r.firstSpan + columns);
    m_rows.push_back(r);
    if (m_nBatchFirst < 0) endInsertRows();
    return row;
}

void CListRowStore::BeginAddRows()
{
    // The rows are added to the store at once; the view is told when they are complete.
    beginResetModel();
    m_nBatchFirst = GetRowCount();
}

void CListRowStore::EndAddRows()
{
    m_nBatchFirst = -1;
    endResetModel();
}

void CListRowStore::RemoveRow(int row)
{
    if (row < 0 || row >= GetRowCount()) return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

std::string_view CListRowStore::GetText(int row, int column) const
{
    if (row < 0 || row >= GetRowCount() || column < 0) return {};
    const Row& r = m_rows[static_cast<size_t>(row)];
    if (static_cast<std::uint32_t>(column) >= r.spanCount) return {};
    const Span& s = m_spans[r.firstSpan + static_cast<std::uint32_t>(column)];
    return std::string_view(m_arena).substr(s.offset, s.length);
}

void CListRowStore::SetText(int row, int column, std::string_view text)
{
    if (row < 0 || row >= GetRowCount() || column < 0) return;
    Row& r = m_rows[static_cast<size_t>(row)];
    if (static_cast<std::uint32_t>(column) >= r.spanCount) {
        // A column added after the row: the row's texts move to the end of the table.
        const auto first = static_cast<std::uint32_t>(m_spans.size());
        for (std::uint32_t i = 0; i < r.spanCount; ++i) m_spans.push_back(m_spans[r.firstSpan + i]);
        m_spans.resize(first + static_cast<std::uint32_t>(column) + 1);
        r.firstSpan = first;
        r.spanCount = static_cast<std::uint32_t>(column) + 1;
    }
    m_spans[r.firstSpan + static_cast<std::uint32_t>(column)] = Store(text);
    if (m_nBatchFirst >= 0) return;
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

int CListRowStore::FindData(std::uintptr_t data) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].data == data) return static_cast<int>(i);
    return -1;
}

void CListRowStore::SortByData(const std::function<bool(std::uintptr_t, std::uintptr_t)>& less)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return less(m_rows[static_cast<size_t>(a)].data, m_rows[static_cast<size_t>(b)].data);
    });
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    std::vector<int> newRowOf(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        sorted.push_back(m_rows[static_cast<size_t>(order[i])]);
        newRowOf[static_cast<size_t>(order[i])] = static_cast<int>(i);
    }
    m_rows = std::move(sorted);
    QModelIndexList from = persistentIndexList(), to;
    for (const QModelIndex& old : from) to << index(newRowOf[static_cast<size_t>(old.row())], old.column());
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int CListRowStore::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : GetRowCount(); }

int CListRowStore::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : GetColumnCount(); }

QVariant CListRowStore::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return PaneText(GetText(index.row(), index.column()));
}

QVariant CListRowStore::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= GetColumnCount()) return {};
    const Column& c = m_columns[static_cast<size_t>(section)];
    if (role == Qt::DisplayRole) return c.header;
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(c.alignment | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags CListRowStore::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | (index.isValid() ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
}
