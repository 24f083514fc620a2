#include "views/list_row_delegate.h"

#include <QHeaderView>
#include <QPainter>
#include "views/change_look.h"
#include "views/image_list.h"
#include "views/list_view_ex.h"
#include "views/pane_text.h"
#include "views/text_fit.h"

namespace {
constexpr int kLabelOffset = 4;     // room ShortenToWidth keeps in the first column
constexpr int kSubItemOffset = 12;  // and in the others
constexpr int kLabelInset = 2;
constexpr int kSubItemInset = 6;
constexpr int kTextFlags = Qt::TextSingleLine | Qt::TextDontClip;
}  // namespace

QString ListText(std::string_view cp932) { return PaneText(cp932); }

CListRowDelegate::CListRowDelegate(CListViewEx& view) : QStyledItemDelegate(&view), m_view(view) {}

int CListRowDelegate::GetRowHeight() const
{
    return std::max(CImageList::kSize + 2, m_view.fontMetrics().height() + 4);
}

QSize CListRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(0, GetRowHeight());
}

void CListRowDelegate::PaintRow(QPainter& painter, const QRect& rowBounds, int row) const
{
    const CListItem item = m_view.GetShownItem(row);
    const bool focus = m_view.hasFocus();
    const bool selected = focus && (item.state & LIST_STATE_SELECTED);
    const QHeaderView* header = m_view.header();
    const int columns = m_view.GetRows().GetColumnCount();
    if (columns == 0) return;
    const int top = rowBounds.top(), height = rowBounds.height();
    const int last = columns - 1;
    const int rowRight = header->sectionViewportPosition(last) + header->sectionSize(last);
    const QRect column0(header->sectionViewportPosition(0), top, header->sectionSize(0), height);

    // The image sits at the left of the first column; the label and the highlight start after it.
    const CImageList* images = m_view.GetImageList();
    const QRect imageRect(column0.left() + 2, top + (height - CImageList::kSize) / 2, CImageList::kSize,
                          CImageList::kSize);
    const int labelLeft = images ? imageRect.right() + 1 + 2 : column0.left();
    const QRect label(labelLeft, top, column0.right() + 1 - labelLeft, height);
    const QRect rowRect(labelLeft, top, std::max(rowRight, m_view.m_nClientWidth) - labelLeft, height);

    const QPalette& palette = m_view.palette();
    painter.save();
    painter.fillRect(rowRect, selected                           ? palette.highlight().color()
                              : (item.state & LIST_STATE_TINTED) ? LastRunBackground(palette)
                                                                 : palette.base().color());
    const QColor textColour = selected ? palette.highlightedText().color() : palette.text().color();
    const QColor changedColour = ChangedTextColour(selected);
    auto penFor = [&](int column) { painter.setPen(m_view.IsValueChanged(row, column) ? changedColour : textColour); };
    if (images && rowRect.width() > 1)
        images->Draw(painter, imageRect.topLeft(), item.image,
                     static_cast<int>((item.state & LIST_STATE_OVERLAY_MASK) >> 8));

    const QFontMetrics metrics = m_view.fontMetrics();
    penFor(0);
    painter.drawText(label.adjusted(kLabelInset, 0, -kLabelInset, 0), Qt::AlignLeft | Qt::AlignVCenter | kTextFlags,
                     ShortenToWidth(ListText(item.text), label.width(), kLabelOffset, metrics));

    for (int column = 1; column < columns; ++column) {
        const std::string text = m_view.GetShownText(row, column);
        if (text.empty()) continue;
        const QRect cell(header->sectionViewportPosition(column), top, header->sectionSize(column), height);
        bool shortened = false;
        const QString shown = ShortenToWidth(ListText(text), cell.width(), kSubItemOffset, metrics, &shortened);
        const Qt::Alignment align =
            shortened ? Qt::AlignLeft : m_view.GetRows().GetColumnAlignment(column) & Qt::AlignHorizontal_Mask;
        penFor(column);
        painter.drawText(cell.adjusted(kSubItemInset, 0, -kSubItemInset, 0), align | Qt::AlignVCenter | kTextFlags,
                         shown);
    }

    if ((item.state & LIST_STATE_FOCUSED) && focus) {
        painter.setPen(QPen(textColour, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rowRect.adjusted(0, 0, -1, -1));
    }
    painter.restore();
}
