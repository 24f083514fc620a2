#pragma once
#include <QColor>

class QPalette;

// How the panes show what the last command changed: a changed value in red (lighter on
// the selection's highlight, where dark red would not read), and the statement run last
// on a faint tint of the highlight colour.
QColor ChangedTextColour(bool highlighted);
QColor LastRunBackground(const QPalette& palette);
