#pragma once
#include <QFont>
#include <string>

// The face and point size named by a "SourceFont" value ("face:size"); anything
// without a face before a colon keeps the defaults, and a size outside the readable
// range gives the default size.
constexpr int kMinReadablePoints = 6, kMaxReadablePoints = 72;
void ParseSourceFont(const std::string& value, std::string& face, int& points);

// The one font of every pane and of the editor, from the setting Env/SourceFont.
QFont LoadViewFont();

// The default face name of the settings and the fonts here that stand in for it.
void RegisterFontSubstitutions();

class QPlainTextEdit;
// Tab stops every 8 columns of the widget's font, exactly also for fractional widths.
void SetEightColumnTabs(QPlainTextEdit& edit);
