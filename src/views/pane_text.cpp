#include "views/pane_text.h"

#include "text/source_text.h"

QString PaneText(std::string_view cp932)
{
    // Most rows are ASCII: no trip through the converter.
    for (char c : cp932)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\r') {
            const std::u16string shown = Cp932LineToShown(cp932);
            return QString(reinterpret_cast<const QChar*>(shown.data()), static_cast<qsizetype>(shown.size()));
        }
    return QString::fromLatin1(cp932.data(), static_cast<qsizetype>(cp932.size()));
}
