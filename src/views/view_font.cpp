#include "views/view_font.h"

#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QSettings>
#include <cerrno>
#include <cstdlib>
#include "views/settings_store.h"

namespace {
const char* const kDefaultFace = "ＭＳ ゴシック";
constexpr int kDefaultPoints = 10;
}  // namespace

void ParseSourceFont(const std::string& value, std::string& face, int& points)
{
    face = kDefaultFace;
    points = kDefaultPoints;
    const size_t colon = value.find(':');
    if (colon == std::string::npos || colon == 0) return;
    face = value.substr(0, colon);
    // The leading digits, as atoi reads them, but without its undefined overflow.
    errno = 0;
    const long size = std::strtol(value.c_str() + colon + 1, nullptr, 10);
    // No number is 0, the platform's default height. A size no one can read (every text
    // drawn as boxes at 99999) is the default: no dialog shows this value to mend it.
    points = size == 0                                                                ? 0
             : errno == 0 && size >= kMinReadablePoints && size <= kMaxReadablePoints ? static_cast<int>(size)
                                                                                      : kDefaultPoints;
}

void RegisterFontSubstitutions()
{
    QFont::insertSubstitutions(QString::fromUtf8(kDefaultFace),
                               {"IPAGothic", "Noto Sans Mono CJK JP", "Noto Sans CJK JP", "monospace"});
}

QFont LoadViewFont()
{
    auto settings = OpenSettings();
    settings->beginGroup("Env");
    const std::string value = settings->value("SourceFont", QString()).toString().toStdString();
    settings->endGroup();
    std::string face;
    int points;
    ParseSourceFont(value, face, points);
    QFont font(QString::fromStdString(face));
    font.setStyleHint(QFont::TypeWriter);
    // A size of 0 means the platform's default height.
    if (points > 0) font.setPointSize(points);
    return font;
}

void SetEightColumnTabs(QPlainTextEdit& edit)
{
    edit.setTabStopDistance(QFontMetricsF(edit.font()).horizontalAdvance(QLatin1Char(' ')) * 8);
}
