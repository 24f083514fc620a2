#pragma once
#include <string>

// Whether two names are the same file: the same inode when both exist, however they are
// written; when one does not exist yet, the same name once both are written out in full.
bool IsSameFile(const std::string& a, const std::string& b);

// Whether the name is an existing regular file (not a device, a pipe or a folder).
bool IsRegularFile(const std::string& path);
