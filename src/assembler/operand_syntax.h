#pragma once
#include <span>
#include <string>
#include <string_view>
#include <vector>
#include "assembler/error_numbers.h"
#include "machine/word.h"

// White space of the source: space, tab, CR, LF, vertical tab and form feed.
// Tab, LF, vertical tab, form feed and CR are the codes 9 to 13.
inline constexpr bool IsWhite(char c) { return c == ' ' || static_cast<unsigned char>(c - '\t') <= '\r' - '\t'; }
inline constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view s);
std::string_view TrimRight(std::string_view s);
inline std::string_view Trim(std::string_view s) { return TrimLeft(TrimRight(s)); }

// The tokens of an operand field: up to four without an allocation (every machine
// instruction and macro has at most three); a long DC list goes to the heap.
class CTokenList {
public:
    void push_back(std::string_view token)
    {
        if (m_size < kInline && m_more.empty()) {
            m_inline[m_size++] = token;
            return;
        }
        if (m_more.empty()) m_more.assign(m_inline, m_inline + m_size);
        m_more.push_back(token);
        ++m_size;
    }
    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const std::string_view* begin() const { return m_more.empty() ? m_inline : m_more.data(); }
    const std::string_view* end() const { return begin() + m_size; }
    std::string_view operator[](size_t i) const { return begin()[i]; }
    operator std::span<const std::string_view>() const { return {begin(), m_size}; }

private:
    static constexpr size_t kInline = 4;
    std::string_view m_inline[kInline];
    std::vector<std::string_view> m_more;
    size_t m_size = 0;
};

// Cuts an operand field into tokens at the commas outside single quotes.
void SplitOperandViews(std::string_view operand, CTokenList& tokens);

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

// The error numbers a constant gives where it stands: in DC or after "=" in a literal.
struct CConstantErrors {
    int missing, charMalformed, charEmpty, hex, decimal;
};
inline constexpr CConstantErrors kDcErrors{ERR_OPERAND_MISSING, ERR_CHAR_CONSTANT, ERR_CHAR_CONSTANT_EMPTY,
                                           ERR_HEX_CONSTANT, ERR_DECIMAL_CONSTANT};
inline constexpr CConstantErrors kLiteralErrors{ERR_LITERAL_MISSING, ERR_LITERAL_CHAR, ERR_LITERAL_STRING_EMPTY,
                                                ERR_LITERAL_HEX, ERR_LITERAL_DECIMAL};

// A constant (a quoted string, #hex or decimal) appended to words as its words; 0, or
// the error number from errors. Labels are the caller's (DC takes them, literals do not).
int ParseConstant(std::string_view token, const CConstantErrors& errors, std::vector<WORD>& words);
