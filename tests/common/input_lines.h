// What a line reader must make of some bytes: lines end at LF, a CR before the LF is
// dropped, a last line without an LF is still a line, a line keeps at most kMaxLine bytes.
// One model for the tests and the fuzz targets.
#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "simulator/line_reader.h"

inline std::vector<std::string> ModelInputLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t lf = bytes.find('\n', start);
        const bool ended = lf != std::string_view::npos;
        if (!ended) lf = bytes.size();
        std::string line(bytes.substr(start, lf - start));
        if (ended && !line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > CLineReader::kMaxLine) line.resize(CLineReader::kMaxLine);
        lines.push_back(std::move(line));
        start = lf + 1;
    }
    return lines;
}
