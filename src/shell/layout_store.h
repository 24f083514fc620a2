#pragma once
#include <QRect>
#include <QString>
#include <QVector>

class QWidget;

// Window placements and splitter sizes in the "Window" section of the settings.

// "%d %d %d %d %d": left, top, right, bottom of the normal rectangle, then 1 when maximized.
QString FormatPlacement(const QRect& normal, bool maximized);
// The normal rectangle of a placement string; false unless it holds exactly five integers.
bool ParsePlacement(const QString& text, QRect& normal);
// Exactly count integers separated by blanks, or false.
bool ParseIntegers(const QString& text, int count, QVector<int>& values);

QString ReadWindowValue(const char* name);
void WriteWindowValue(const char* name, const QVariant& value);
int ReadWindowInt(const char* name, int defaultValue);
