#include "assembler/syntax_colour.h"

#include <string>
#include "assembler/operation_table.h"

namespace SyntaxColour {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsHexDigit(char16_t c) { return IsDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }
bool IsWordChar(char16_t c) { return IsDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// A field runs to the next blank or comment.
size_t FieldEnd(std::u16string_view line, size_t at)
{
    while (at < line.size() && !IsBlank(line[at]) && line[at] != u';') ++at;
    return at;
}

bool IsOperationName(std::u16string_view word)
{
    if (word.size() > 8) return false;
    std::string name;
    for (char16_t c : word) {
        if (c > 0x7F) return false;
        name += static_cast<char>(c);
    }
    return FindOperation(name) != nullptr;
}

bool IsRegisterName(std::u16string_view word)
{
    return word.size() == 3 && word[0] == u'G' && word[1] == u'R' && word[2] >= u'0' && word[2] <= u'7';
}

}  // namespace

void ColourLine(std::u16string_view line, std::vector<CSpan>& spans)
{
    spans.clear();
    auto add = [&spans](size_t start, size_t end, Kind kind) {
        if (end > start) spans.push_back({static_cast<int>(start), static_cast<int>(end - start), kind});
    };
    auto skipBlanks = [&line](size_t at) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        return at;
    };

    size_t at = 0;
    // The label field: from the first column.
    if (!line.empty() && !IsBlank(line[0]) && line[0] != u';') {
        at = FieldEnd(line, 0);
        add(0, at, Kind::Label);
    }
    at = skipBlanks(at);
    if (at < line.size() && line[at] != u';') {
        const size_t end = FieldEnd(line, at);
        if (IsOperationName(line.substr(at, end - at))) add(at, end, Kind::Operation);
        at = skipBlanks(end);
    }

    // The operands, then the comment.
    while (at < line.size()) {
        const char16_t c = line[at];
        const size_t start = at;
        if (c == u';') {
            add(at, line.size(), Kind::Comment);
            return;
        }
        if (c == u'\'') {
            // To the next quote: the assembler knows no escape for one. An open string runs to the end.
            at = line.find(u'\'', at + 1);
            at = at == std::u16string_view::npos ? line.size() : at + 1;
            add(start, at, Kind::String);
        } else if (c == u'#') {
            for (++at; at < line.size() && IsHexDigit(line[at]);) ++at;
            add(start, at, Kind::Number);
        } else if (IsDigit(c) || (c == u'-' && at + 1 < line.size() && IsDigit(line[at + 1]))) {
            for (++at; at < line.size() && IsDigit(line[at]);) ++at;
            add(start, at, Kind::Number);
        } else if (IsWordChar(c)) {
            while (at < line.size() && IsWordChar(line[at])) ++at;
            if (IsRegisterName(line.substr(start, at - start))) add(start, at, Kind::Register);
        } else {
            ++at;
        }
    }
}

}  // namespace SyntaxColour
