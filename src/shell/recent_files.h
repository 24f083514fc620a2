#pragma once
#include <QStringList>

// The recent-file list: four entries, newest first, in the settings' "Recent File List"
// group (File1 to File4). Read once, written at every change.
class CRecentFileList {
public:
    QStringList Get() const;
    void Add(const QString& path);

private:
    mutable QStringList m_files;
    mutable bool m_bLoaded = false;
};
