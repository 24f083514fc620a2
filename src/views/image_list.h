#pragma once
#include <QColor>
#include <QImage>
#include <map>
#include <vector>

class QPainter;
class QPoint;

// Small images of one size cut from a strip, with overlay images registered by number.
class CImageList {
public:
    static constexpr int kSize = 16;

    // Cuts the strip into kSize x kSize images; pixels of maskColour are transparent.
    CImageList(const QImage& strip, QColor maskColour);

    int GetCount() const { return static_cast<int>(m_images.size()); }
    void SetOverlayImage(int image, int overlay) { m_overlays[overlay] = image; }
    // Draws image and the overlay image registered under overlay, if any, in their own
    // colours whatever the row (a marker's colour is what it means).
    void Draw(QPainter& painter, const QPoint& at, int image, int overlay) const;

private:
    void DrawOne(QPainter& painter, const QPoint& at, int image) const;

    std::vector<QImage> m_images;   // images, not pixmaps: they may outlive the application object
    std::map<int, int> m_overlays;  // overlay number -> image
};

// The listing's markers: 0 empty, 1 yellow arrow (overlay 1, the PR), 2 empty, 3 red dot
// (breakpoint); PR on a breakpoint: 4 a red ring, 5 a smaller yellow arrow inside it (overlay 2).
const CImageList& ListingMarkers();
// The stack's markers: 0 empty, 1 green arrow (SP).
const CImageList& StackMarkers();
