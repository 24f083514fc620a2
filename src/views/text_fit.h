#pragma once
#include <QString>

class QFontMetrics;

// The text as a cell of columnWidth pixels shows it: itself when it fits with the
// offset, otherwise as many leading characters as fit with the offset and "..."
// (at least one character), followed by "...".
QString ShortenToWidth(const QString& text, int columnWidth, int offset, const QFontMetrics& metrics,
                       bool* shortened = nullptr);
