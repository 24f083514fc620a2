#include "views/text_fit.h"

#include <QFontMetrics>

QString ShortenToWidth(const QString& text, int columnWidth, int offset, const QFontMetrics& metrics, bool* shortened)
{
    if (shortened) *shortened = false;
    if (text.isEmpty() || metrics.horizontalAdvance(text) + offset <= columnWidth) return text;
    if (shortened) *shortened = true;
    // Characters come off the end one at a time until what is left fits with the dots;
    // prefix widths only grow, so the longest prefix that fits is found by bisection.
    const int room = columnWidth - offset - metrics.horizontalAdvance(QStringLiteral("..."));
    qsizetype fits = 1, tooLong = text.size();  // a prefix of fits characters is kept in any case
    while (tooLong - fits > 1) {
        const qsizetype mid = fits + (tooLong - fits) / 2;
        if (metrics.horizontalAdvance(text.left(mid)) <= room)
            fits = mid;
        else
            tooLong = mid;
    }
    // Never split a surrogate pair.
    if (fits > 1 && text[fits - 1].isHighSurrogate()) --fits;
    return text.left(fits) + QStringLiteral("...");
}
