#include "views/view_font.h"

#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QSettings>
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
    points = std::atoi(value.c_str() + colon + 1);
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
