#pragma once
#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// State bits of a row, as the list control keeps them.
enum : unsigned {
    LIST_STATE_FOCUSED = 0x0001,
    LIST_STATE_SELECTED = 0x0002,
    LIST_STATE_OVERLAY_MASK = 0x0F00,
    LIST_STATE_TINTED = 0x1000,  // drawn on a faint background (only ever set by PrepareItem)
};
constexpr unsigned OverlayState(int overlay) { return static_cast<unsigned>(overlay) << 8; }

// One row as it is drawn: its label (the first column's text), image and state.
struct CListItem {
    std::string text;  // code page 932
    int image = 0;
    unsigned state = 0;
};

// The rows of a list view: per row the texts of its columns (code page 932, each
// cut to what the cell-text buffer of 260 bytes holds), an image, state bits and
// item data. All texts live in one arena, so that a listing of 400,000 rows costs
// two allocations, not a million.
class CListRowStore : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr size_t kTextCapacity = 260;

    explicit CListRowStore(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void AddColumn(const QString& header, Qt::Alignment alignment);
    Qt::Alignment GetColumnAlignment(int column) const;
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }

    // Appends a row with its texts (the label first); returns its number.
    int AddRow(std::initializer_list<std::string_view> texts, int image, std::uintptr_t data);
    // Many rows at once: between Begin and End, AddRow tells the view nothing; End tells it once.
    void BeginAddRows();
    void EndAddRows();
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    void RemoveRow(int row);

    std::string_view GetText(int row, int column) const;
    void SetText(int row, int column, std::string_view text);
    int GetImage(int row) const { return m_rows[static_cast<size_t>(row)].image; }
    unsigned GetState(int row) const { return m_rows[static_cast<size_t>(row)].state; }
    std::uintptr_t GetData(int row) const { return m_rows[static_cast<size_t>(row)].data; }
    // The row whose item data is data, or -1.
    int FindData(std::uintptr_t data) const;

    // Reorders the rows by their item data; selection and focus move with their rows.
    void SortByData(const std::function<bool(std::uintptr_t, std::uintptr_t)>& less);

    // The model's face for the view.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Rows may be dragged wherever the view allows it.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Span {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    struct Row {
        std::uint32_t firstSpan = 0;
        std::uint32_t spanCount = 0;
        int image = 0;
        unsigned state = 0;
        std::uintptr_t data = 0;
    };
    struct Column {
        QString header;
        Qt::Alignment alignment;
    };
    Span Store(std::string_view text);

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    std::vector<Span> m_spans;
    std::string m_arena;
    int m_nBatchFirst = -1;  // first row added since BeginAddRows, or -1 outside a batch
};

// Cuts code page 932 text to at most maxBytes bytes without splitting a double-byte character.
std::string_view CutCp932(std::string_view text, size_t maxBytes);
