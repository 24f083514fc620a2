#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "machine/word.h"

// White space of the source: space, tab, CR, LF, vertical tab and form feed.
// Tab, LF, vertical tab, form feed and CR are the codes 9 to 13.
inline constexpr bool IsWhite(char c) { return c == ' ' || static_cast<unsigned char>(c - '\t') <= '\r' - '\t'; }
inline constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view s);
std::string_view TrimRight(std::string_view s);
inline std::string_view Trim(std::string_view s) { return TrimLeft(TrimRight(s)); }

// Cuts an operand field into tokens at the commas outside single quotes.
std::vector<std::string> SplitOperands(std::string_view operand);
// The same tokens as views into operand.
void SplitOperandViews(std::string_view operand, std::vector<std::string_view>& tokens);

// 0 when name is a valid label name, else 2001, 2003 or 2004.
int CheckLabelName(std::string_view name);

// A base-10 integer with an optional sign over the whole text; a value outside the
// 32-bit range saturates. False for anything else.
bool ParseDecimal(std::string_view text, long& value);

// "#" and exactly four digits 0-9, A-F.
bool ParseHexConstant(std::string_view text, WORD& value);

// A quoted character constant: 0 and its bytes as words, or kCharMalformed / kCharEmpty.
enum class CharConstant { Ok, Malformed, Empty };
CharConstant ParseCharConstant(std::string_view text, std::vector<WORD>* words);
