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

void CImageList::DrawOne(QPainter& painter, const QPoint& at, int image, const QColor& blend) const
{
    if (image < 0 || image >= GetCount()) return;
    const QImage& picture = m_images[static_cast<size_t>(image)];
    if (!blend.isValid()) {
        painter.drawImage(at, picture);
        return;
    }
    QImage tinted = picture;
    QPainter tint(&tinted);
    tint.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    QColor half = blend;
    half.setAlpha(128);
    tint.fillRect(tinted.rect(), half);
    tint.end();
    painter.drawImage(at, tinted);
}

void CImageList::Draw(QPainter& painter, const QPoint& at, int image, int overlay, const QColor& blend) const
{
    DrawOne(painter, at, image, blend);
    if (overlay == 0) return;
    const auto it = m_overlays.find(overlay);
    if (it != m_overlays.end()) DrawOne(painter, at, it->second, blend);
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

// An arrow pointing right, filling the image at x0, with a black outline.
void DrawArrow(QPainter& painter, int x0, const QColor& fill)
{
    const QPolygon arrow(
        {{x0 + 1, 5}, {x0 + 7, 5}, {x0 + 7, 1}, {x0 + 14, 8}, {x0 + 7, 15}, {x0 + 7, 11}, {x0 + 1, 11}});
    painter.setPen(Qt::black);
    painter.setBrush(fill);
    painter.drawPolygon(arrow);
}
}  // namespace

const CImageList& ListingMarkers()
{
    static const CImageList markers = [] {
        QImage strip = Strip(4);
        QPainter painter(&strip);
        DrawArrow(painter, 16, QColor(255, 255, 0));
        painter.setPen(Qt::black);
        painter.setBrush(QColor(255, 0, 0));
        painter.drawEllipse(48 + 3, 3, 10, 10);
        painter.end();
        CImageList list(strip, kMask);
        list.SetOverlayImage(1, 1);
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
