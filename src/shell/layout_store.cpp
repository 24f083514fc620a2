#include "shell/layout_store.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStringList>
#include <algorithm>
#include <limits>
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
    // Right minus left may not fit an int.
    const qint64 width = qint64{v[2]} - v[0], height = qint64{v[3]} - v[1];
    if (width <= 0 || height <= 0 || width > std::numeric_limits<int>::max() ||
        height > std::numeric_limits<int>::max())
        return false;
    normal = QRect(QPoint(v[0], v[1]), QSize(static_cast<int>(width), static_cast<int>(height)));
    return true;
}

QRect FitPlacement(const QRect& normal, const QRect& bounds, const QSize& minimum)
{
    const QSize size = normal.size().expandedTo(minimum).boundedTo(bounds.size());
    // Left and top as far into bounds as the size lets them; in 64 bits, as the stored
    // corner may lie anywhere an int reaches.
    const auto into = [](int at, int length, int start, int room) {
        return static_cast<int>(std::clamp<qint64>(at, start, qint64{start} + std::max(0, room - length)));
    };
    return QRect(QPoint(into(normal.left(), size.width(), bounds.left(), bounds.width()),
                        into(normal.top(), size.height(), bounds.top(), bounds.height())),
                 size);
}

QRect ScreenBoundsFor(const QRect& normal)
{
    const QScreen* best = QGuiApplication::primaryScreen();
    qint64 bestArea = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shared = screen->availableGeometry().intersected(normal);
        const qint64 area = qint64{shared.width()} * shared.height();
        if (area > bestArea) {
            bestArea = area;
            best = screen;
        }
    }
    return best ? best->availableGeometry() : QRect();
}

int FitSplitSize(int stored, int available)
{
    return std::clamp(stored, kMinStoredPane, std::max(kMinStoredPane, available - kMinStoredPane));
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
