#pragma once
#include <QRect>
#include <QString>
#include <QVector>

class QWidget;

// Window placements and splitter sizes in the "Window" section of the settings.

// "%d %d %d %d %d": left, top, right, bottom of the normal rectangle, then 1 when maximized.
QString FormatPlacement(const QRect& normal, bool maximized);
// The normal rectangle of a placement string; false unless it holds exactly five integers
// that make a rectangle with a width and a height.
bool ParsePlacement(const QString& text, QRect& normal);
// Exactly count integers separated by blanks, or false.
bool ParseIntegers(const QString& text, int count, QVector<int>& values);

// A stored placement as it may be applied: a settings store is only text, and a window
// must fit where it is shown and be reachable there. No larger than bounds, no smaller
// than minimum (as far as bounds allow), moved to lie within bounds.
QRect FitPlacement(const QRect& normal, const QRect& bounds, const QSize& minimum);
// The available area of the screen a top-level placement shows most of (the primary
// screen when it shows on none).
QRect ScreenBoundsFor(const QRect& normal);

// The smallest a splitter pane is made by a stored size.
constexpr int kMinStoredPane = 24;
// A stored splitter size for a pane of a splitter with available pixels: at least
// kMinStoredPane, and leaving the other pane as much.
int FitSplitSize(int stored, int available);

QString ReadWindowValue(const char* name);
void WriteWindowValue(const char* name, const QVariant& value);
int ReadWindowInt(const char* name, int defaultValue);
