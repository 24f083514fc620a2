#include "views/image_list.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

CImageList::CImageList(const QImage& strip, QColor maskColour)
{
    QImage all = strip.convertToFormat(QImage::Format_ARGB32);
    const QRgb mask = maskColour.rgb();
    for (int y = 0; y < all.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(all.scanLine(y));
        for (int x = 0; x < all.width(); ++x)
            if ((line[x] | 0xFF000000u) == (mask | 0xFF000000u)) line[x] = 0;
    }
    for (int x = 0; x + kSize <= strip.width(); x += kSize) m_images.push_back(all.copy(x, 0, kSize, kSize));
}

void CImageList::DrawOne(QPainter& painter, const QPoint& at, int image) const
{
    if (image >= 0 && image < GetCount()) painter.drawImage(at, m_images[static_cast<size_t>(image)]);
}

void CImageList::Draw(QPainter& painter, const QPoint& at, int image, int overlay) const
{
    DrawOne(painter, at, image);
    if (overlay == 0) return;
    const auto it = m_overlays.find(overlay);
    if (it != m_overlays.end()) DrawOne(painter, at, it->second);
}

namespace {
// The transparent colour of the marker strips: pure dark green.
const QColor kMask(0, 128, 0);

QImage Strip(int images)
{
    QImage strip(CImageList::kSize * images, CImageList::kSize, QImage::Format_RGB32);
    strip.fill(kMask);
    return strip;
}

void DrawOutlined(QPainter& painter, const QPolygon& shape, const QColor& fill)
{
    painter.setPen(Qt::black);
    painter.setBrush(fill);
    painter.drawPolygon(shape);
}

// An arrow pointing right, filling the image at x0, with a black outline.
void DrawArrow(QPainter& painter, int x0, const QColor& fill)
{
    DrawOutlined(painter,
                 QPolygon({{x0 + 1, 5}, {x0 + 7, 5}, {x0 + 7, 1}, {x0 + 14, 8}, {x0 + 7, 15}, {x0 + 7, 11}, {x0 + 1, 11}}),
                 fill);
}

// The same arrow at two thirds of its size, centred: it fits inside the breakpoint's ring.
void DrawSmallArrow(QPainter& painter, int x0, const QColor& fill)
{
    DrawOutlined(painter,
                 QPolygon({{x0 + 4, 6}, {x0 + 8, 6}, {x0 + 8, 3}, {x0 + 13, 8}, {x0 + 8, 13}, {x0 + 8, 10}, {x0 + 4, 10}}),
                 fill);
}

const QColor kArrowYellow(255, 255, 0);
const QColor kBreakpointRed(255, 0, 0);
}  // namespace

const CImageList& ListingMarkers()
{
    static const CImageList markers = [] {
        QImage strip = Strip(6);
        QPainter painter(&strip);
        DrawArrow(painter, 16, kArrowYellow);
        painter.setPen(Qt::black);
        painter.setBrush(kBreakpointRed);
        painter.drawEllipse(48 + 3, 3, 10, 10);
        // PR on a breakpoint: the dot grown to the whole image, so that its red shows
        // all round the smaller arrow drawn over it.
        painter.drawEllipse(64, 0, 15, 15);
        DrawSmallArrow(painter, 80, kArrowYellow);
        painter.end();
        CImageList list(strip, kMask);
        list.SetOverlayImage(1, 1);
        list.SetOverlayImage(5, 2);
        return list;
    }();
    return markers;
}

const CImageList& StackMarkers()
{
    static const CImageList markers = [] {
        QImage strip = Strip(2);
        QPainter painter(&strip);
        DrawArrow(painter, 16, QColor(0, 255, 0));
        painter.end();
        return CImageList(strip, kMask);
    }();
    return markers;
}
