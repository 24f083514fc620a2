#include "simulator/line_reader.h"

CLineReader::Result CLineReader::ReadLine(std::string& line)
{
    line.clear();
    bool any = false;
    int c;
    while ((c = std::getc(m_stream)) != EOF) {
        any = true;
        if (c == '\n') break;
        if (line.size() < kMaxLine + 1) line.push_back(static_cast<char>(c));  // one spare byte for a CR
    }
    if (c == EOF && std::ferror(m_stream)) return Result::Error;
    if (!any) return Result::End;
    if (c == '\n' && !line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxLine) line.resize(kMaxLine);
    return Result::Line;
}
