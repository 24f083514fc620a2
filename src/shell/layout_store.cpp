#include "shell/layout_store.h"

#include <QSettings>
#include <QStringList>
#include "views/settings_store.h"

QString FormatPlacement(const QRect& normal, bool maximized)
{
    return QString::asprintf("%d %d %d %d %d", normal.left(), normal.top(), normal.left() + normal.width(),
                             normal.top() + normal.height(), maximized ? 1 : 0);
}

bool ParseIntegers(const QString& text, int count, QVector<int>& values)
{
    const QStringList parts = text.split(' ', Qt::SkipEmptyParts);
    if (parts.size() != count) return false;
    values.clear();
    for (const QString& part : parts) {
        bool ok;
        const int v = part.toInt(&ok);
        if (!ok) return false;
        values.push_back(v);
    }
    return true;
}

bool ParsePlacement(const QString& text, QRect& normal)
{
    QVector<int> v;
    if (!ParseIntegers(text, 5, v)) return false;
    normal = QRect(QPoint(v[0], v[1]), QSize(v[2] - v[0], v[3] - v[1]));
    return normal.width() > 0 && normal.height() > 0;
}

QString ReadWindowValue(const char* name)
{
    auto settings = OpenSettings();
    return settings->value(QString("Window/") + name, QString()).toString();
}

int ReadWindowInt(const char* name, int defaultValue)
{
    auto settings = OpenSettings();
    bool ok;
    const int v = settings->value(QString("Window/") + name, defaultValue).toInt(&ok);
    return ok ? v : defaultValue;
}

void WriteWindowValue(const char* name, const QVariant& value)
{
    auto settings = OpenSettings();
    settings->setValue(QString("Window/") + name, value);
}
