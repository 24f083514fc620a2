#include "views/change_look.h"

#include <QPalette>

QColor ChangedTextColour(bool highlighted) { return highlighted ? QColor(255, 176, 176) : QColor(220, 0, 0); }

QColor LastRunBackground(const QPalette& palette)
{
    // A fifth of the highlight over the base: plainly there, and never taken for the selection.
    const QColor base = palette.base().color(), highlight = palette.highlight().color();
    auto mix = [](int b, int h) { return (4 * b + h) / 5; };
    return QColor(mix(base.red(), highlight.red()), mix(base.green(), highlight.green()),
                  mix(base.blue(), highlight.blue()));
}
