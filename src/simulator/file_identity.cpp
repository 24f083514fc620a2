#include "simulator/file_identity.h"

#include <sys/stat.h>
#include <filesystem>

bool IsSameFile(const std::string& a, const std::string& b)
{
    struct stat sa {
    }, sb{};
    if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    std::error_code error;
    const auto fullA = std::filesystem::weakly_canonical(std::filesystem::absolute(a), error);
    const auto fullB = std::filesystem::weakly_canonical(std::filesystem::absolute(b), error);
    return !error && fullA == fullB;
}

bool IsRegularFile(const std::string& path)
{
    struct stat s {
    };
    return ::stat(path.c_str(), &s) == 0 && S_ISREG(s.st_mode);
}
