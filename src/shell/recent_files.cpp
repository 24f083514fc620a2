#include "shell/recent_files.h"

#include <QSettings>
#include "resources/command_ids.h"
#include "views/settings_store.h"

QStringList CRecentFileList::Get() const
{
    // Read once: the idle command update asks for the list all the time.
    if (!m_bLoaded) {
        auto settings = OpenSettings();
        for (int i = 1; i <= kRecentFileCount; ++i) {
            const QString file = settings->value(QString("Recent File List/File%1").arg(i)).toString();
            if (!file.isEmpty()) m_files << file;
        }
        m_bLoaded = true;
    }
    return m_files;
}

void CRecentFileList::Add(const QString& path)
{
    QStringList files = Get();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentFileCount) files.removeLast();
    m_files = files;
    auto settings = OpenSettings();
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString key = QString("Recent File List/File%1").arg(i);
        if (i <= files.size())
            settings->setValue(key, files[i - 1]);
        else
            settings->remove(key);
    }
    settings->sync();
}
