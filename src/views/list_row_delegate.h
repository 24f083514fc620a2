#pragma once
#include <QStyledItemDelegate>

class CListViewEx;
class QPainter;

// Draws the rows of a list pane, one whole row at a time: the full-row highlight
// while the pane has the focus, the row image with its overlay, the label and the
// further columns cut with "...", and the focus rectangle.
class CListRowDelegate : public QStyledItemDelegate {
public:
    explicit CListRowDelegate(CListViewEx& view);

    void PaintRow(QPainter& painter, const QRect& rowBounds, int row) const;
    int GetRowHeight() const;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Rows are painted whole by PaintRow; single cells are never painted on their own.
    void paint(QPainter*, const QStyleOptionViewItem&, const QModelIndex&) const override {}

private:
    CListViewEx& m_view;
};

// Code page 932 text for drawing; pure ASCII without a trip through the converter.
QString ListText(std::string_view cp932);
