#pragma once
#include <string_view>
#include <vector>

// The parts of a CASL II source line an editor colours. Lines are UTF-16, as editors
// hold them, so that the spans are the editor's own positions.
namespace SyntaxColour {

enum class Kind { Label, Operation, Register, Number, String, Comment };

struct CSpan {
    int start;
    int length;
    Kind kind;
    bool operator==(const CSpan&) const = default;
};

// The coloured spans of one line, in order; what is not in a span (blanks, commas,
// the = of a literal, labels used as operands, unknown operation names) is plain.
void ColourLine(std::u16string_view line, std::vector<CSpan>& spans);

}  // namespace SyntaxColour
