#include "assembler/syntax_colour.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using SyntaxColour::Kind;

// Each line with what is coloured in it, written as the text of each span and its kind.
struct Case {
    std::u16string line;
    std::vector<std::pair<std::u16string, Kind>> spans;
};

std::vector<std::pair<std::u16string, Kind>> Colour(const std::u16string& line)
{
    std::vector<SyntaxColour::CSpan> spans;
    SyntaxColour::ColourLine(line, spans);
    std::vector<std::pair<std::u16string, Kind>> texts;
    int last = 0;
    for (const auto& span : spans) {
        EXPECT_GE(span.start, last) << "spans overlap or go back";
        EXPECT_LE(span.start + span.length, static_cast<int>(line.size()));
        last = span.start + span.length;
        texts.emplace_back(line.substr(static_cast<size_t>(span.start), static_cast<size_t>(span.length)), span.kind);
    }
    return texts;
}

TEST(SyntaxColour, EachPartOfALineHasItsColour)
{
    const std::vector<Case> cases = {
        {u"MAIN\tSTART", {{u"MAIN", Kind::Label}, {u"START", Kind::Operation}}},
        {u"\tLD\tGR1,DATA,GR2", {{u"LD", Kind::Operation}, {u"GR1", Kind::Register}, {u"GR2", Kind::Register}}},
        {u"\tLAD\tGR0,-12", {{u"LAD", Kind::Operation}, {u"GR0", Kind::Register}, {u"-12", Kind::Number}}},
        {u"\tDC\t#00FF,'It''s',3 ; end",
         {{u"DC", Kind::Operation},
          {u"#00FF", Kind::Number},
          {u"'It'", Kind::String},
          {u"'s'", Kind::String},
          {u"3", Kind::Number},
          {u"; end", Kind::Comment}}},
        // A literal: the constant is coloured, not the =.
        {u"\tCPL\tGR1,=#FFFF", {{u"CPL", Kind::Operation}, {u"GR1", Kind::Register}, {u"#FFFF", Kind::Number}}},
        {u"\tCPA\tGR1,='A'", {{u"CPA", Kind::Operation}, {u"GR1", Kind::Register}, {u"'A'", Kind::String}}},
        // Comments, alone or after a label; a ; in a string is not one.
        {u"; 合計を求める", {{u"; 合計を求める", Kind::Comment}}},
        {u"   ;indented", {{u";indented", Kind::Comment}}},
        {u"LOOP ;here", {{u"LOOP", Kind::Label}, {u";here", Kind::Comment}}},
        {u"\tOUT\tMSG,LEN\t; 出力", {{u"OUT", Kind::Operation}, {u"; 出力", Kind::Comment}}},
        {u"MSG\tDC\t'a;b'", {{u"MSG", Kind::Label}, {u"DC", Kind::Operation}, {u"'a;b'", Kind::String}}},
        // Not registers: GR8, lower case, a longer name. Not operations: unknown or lower-case names.
        {u"\tLD\tGR8,gr1", {{u"LD", Kind::Operation}}},
        {u"\tLD\tGR10", {{u"LD", Kind::Operation}}},
        {u"\tld\tGR1", {{u"GR1", Kind::Register}}},
        {u"\tLDX\tGR1", {{u"GR1", Kind::Register}}},
        // Labels used as operands stay plain; so does a number inside a name.
        {u"\tJUMP\tL2", {{u"JUMP", Kind::Operation}}},
        // An open string runs to the end of the line.
        {u"\tDC\t'open ; not a comment", {{u"DC", Kind::Operation}, {u"'open ; not a comment", Kind::String}}},
        {u"", {}},
        {u"\t\t", {}},
        {u"#", {{u"#", Kind::Label}}},
        {u"\tDC\t#", {{u"DC", Kind::Operation}, {u"#", Kind::Number}}},
        {u"\tDC\t-", {{u"DC", Kind::Operation}}},
    };
    for (const Case& c : cases) EXPECT_EQ(Colour(c.line), c.spans) << std::string(c.line.begin(), c.line.end());
}

}  // namespace
