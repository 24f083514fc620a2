#include "shell/disk_watch.h"

#include <sys/stat.h>
#include <QFile>
#include <functional>
#include <string_view>

namespace {
std::size_t HashOf(std::string_view bytes) { return std::hash<std::string_view>{}(bytes); }
}  // namespace

CDiskWatch::CStamp CDiskWatch::StampOfFile() const
{
    struct stat info {};
    if (m_path.isEmpty() || ::stat(QFile::encodeName(m_path).constData(), &info) != 0) return {};
    return {true, static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
            static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec,
            static_cast<std::uint64_t>(info.st_ino)};
}

void CDiskWatch::Remember(const QString& path, const std::string& bytes)
{
    m_path = path;
    m_stamp = StampOfFile();
    m_hash = HashOf(bytes);
    m_bAcknowledged = false;
}

void CDiskWatch::Forget()
{
    m_path.clear();
    m_stamp = {};
    m_bAcknowledged = false;
}

CDiskWatch::Change CDiskWatch::Check(bool reportAcknowledged)
{
    if (m_path.isEmpty()) return Change::None;
    const CStamp now = StampOfFile();
    if (now == m_stamp) return Change::None;
    if (!reportAcknowledged && m_bAcknowledged && now == m_acknowledged) return Change::None;
    if (!now.exists) return Change::Missing;
    if (now.size == m_stamp.size) {
        QFile file(m_path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            if (file.error() == QFileDevice::NoError &&
                HashOf(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))) == m_hash) {
                m_stamp = now;  // the same bytes: nothing to report
                return Change::None;
            }
        }
    }
    return Change::Changed;
}

void CDiskWatch::Acknowledge()
{
    m_bAcknowledged = true;
    m_acknowledged = StampOfFile();
}
