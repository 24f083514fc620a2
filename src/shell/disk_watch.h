#pragma once
#include <QString>
#include <cstdint>
#include <string>

// What the disk held of the document's file when the program last read or wrote it,
// so that a change made by another program is noticed. The file's size, times and
// inode tell cheaply that nothing changed; when they differ, the content decides (a
// file touched or saved again unchanged is no change).
class CDiskWatch {
public:
    enum class Change { None, Changed, Missing };

    // These bytes are in the file now (it was just read or written).
    void Remember(const QString& path, const std::string& bytes);
    // No file (an untitled document).
    void Forget();
    // What happened to the file since it was remembered. A change the user was told of
    // (Acknowledge) is reported again only when asked with reportAcknowledged, as before
    // writing over it.
    Change Check(bool reportAcknowledged);
    // The user was told of the file as it is now and kept the editor's text.
    void Acknowledge();

private:
    struct CStamp {
        bool exists = false;
        std::int64_t size = 0, mtime = 0, ctime = 0;  // times in nanoseconds
        std::uint64_t inode = 0;
        bool operator==(const CStamp&) const = default;
    };
    CStamp StampOfFile() const;

    QString m_path;
    CStamp m_stamp;
    std::size_t m_hash = 0;
    bool m_bAcknowledged = false;
    CStamp m_acknowledged;
};
