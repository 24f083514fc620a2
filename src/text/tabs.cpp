#include "text/tabs.h"

#include <algorithm>

std::string ExpandTabs(std::string_view line, size_t limit)
{
    std::string out;
    out.reserve(std::min(line.size(), limit));
    for (char c : line) {
        if (out.size() >= limit) break;
        if (c == '\t')
            out.append(8 - out.size() % 8, ' ');
        else
            out.push_back(c);
    }
    if (out.size() > limit) out.resize(limit);
    return out;
}
