#include "grading/expected_value.h"

#include <charconv>
#include <cstdio>
#include "assembler/label_bank.h"
#include "machine/memory.h"
#include "machine/register.h"
#include "simulator/register_text.h"
#include "simulator/value_entry.h"
#include "text/codepage.h"

namespace {
bool IsLabelName(std::string_view text)
{
    if (text.empty() || text.size() > 8 || !(text[0] >= 'A' && text[0] <= 'Z')) return false;
    for (char c : text)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    return FindRegisterIndex(text) < 0;
}

// A value the syntax accepts: a number or character now, a label once a program defines it.
bool IsValueText(std::string_view text)
{
    WORD ignored;
    return ParseWordValue(text, nullptr, ignored) || IsLabelName(text);
}

// The dialog writes a character as 'c; a teacher may close the quote as in a DC.
std::string ValueText(std::string_view text)
{
    if (text.size() == 3 && text.front() == '\'' && text.back() == '\'') text.remove_suffix(1);
    return std::string(text);
}

// FR as flag letters, each at most once ("Z", "SZ", "-", "V--"), or -1. Overflow is O for
// OF or V as the register pane shows it.
int ParseFlags(std::string_view text)
{
    if (text.empty() || text.size() > 3) return -1;
    int flags = 0;
    for (char c : text) {
        const int flag = c == 'O' || c == 'V' ? FLAG_OF : c == 'S' ? FLAG_SF : c == 'Z' ? FLAG_ZF : c == '-' ? 0 : -1;
        if (flag < 0 || (flags & flag)) return -1;
        flags |= flag;
    }
    return flags;
}

std::string Describe(WORD value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d (#%04X)", static_cast<int>(static_cast<std::int16_t>(value)), value);
    return text;
}

std::string FlagText(WORD fr)
{
    CRegister reg;
    reg[REG_FR] = fr;
    return FormatRegisterCell(reg, REG_FR, REG_COLUMN_HEX);
}
}  // namespace

bool ParseExpectedValue(std::string_view text, CExpectedValue& value, std::string& message)
{
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0 || equals + 1 == text.size()) {
        message = "expect は 名前=値 の形で書いてください (GR0=5, FR=Z, RESULT=15, BUF+2='A')";
        return false;
    }
    const std::string_view target = text.substr(0, equals);
    const std::string_view expected = text.substr(equals + 1);
    value.target = Cp932ToUtf8(target);
    value.value = ValueText(expected);

    if (const int reg = FindRegisterIndex(target); reg >= 0) {
        value.reg = reg;
        WORD number;
        if (reg == REG_FR ? ParseFlags(expected) < 0 && !ParseWordValue(value.value, nullptr, number)
                          : !IsValueText(value.value)) {
            message = "値 " + Cp932ToUtf8(expected) + " が読めません" +
                      (reg == REG_FR ? " (FR は V (O), S, Z の文字か数値で書きます)" : "");
            return false;
        }
        return true;
    }
    // A word: a label or an address, and an offset after + or -.
    const size_t sign = target.find_first_of("+-", 1);
    value.base = std::string(target.substr(0, sign));
    if (sign != std::string_view::npos) {
        const std::string_view digits = target.substr(sign + 1);
        int offset = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), offset);
        if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || offset > 65535) {
            message = "アドレスのずれ " + Cp932ToUtf8(digits) + " が読めません (RESULT+2 のように書きます)";
            return false;
        }
        value.offset = target[sign] == '-' ? -offset : offset;
    }
    if (!IsValueText(value.base)) {
        message = Cp932ToUtf8(target) + " はレジスタでもラベルでもアドレスでもありません";
        return false;
    }
    if (!IsValueText(value.value)) {
        message = "値 " + Cp932ToUtf8(expected) + " が読めません";
        return false;
    }
    return true;
}

bool CheckExpectedValue(const CExpectedValue& value, const CRegister& reg, const CMemory& mem,
                        const CLabelBank& labels, std::string& reason)
{
    if (value.reg == REG_FR) {
        const int letters = ParseFlags(value.value);
        WORD expected = static_cast<WORD>(letters);
        if (letters < 0) ParseWordValue(value.value, nullptr, expected);  // a number: checked when read
        const WORD shown = FLAG_OF | FLAG_SF | FLAG_ZF;
        if ((reg[REG_FR] & shown) == (expected & shown)) return true;
        reason = "FR が違います: 期待 " + FlagText(expected) + "、実際 " + FlagText(reg[REG_FR]);
        return false;
    }
    WORD expected = 0;
    if (!ParseWordValue(value.value, &labels, expected)) {
        reason = "ラベル " + Cp932ToUtf8(value.value) + " がプログラムにありません";
        return false;
    }
    WORD actual = 0;
    std::string where = value.target;
    if (value.reg >= 0) {
        actual = reg[value.reg];
    } else {
        WORD base = 0;
        if (!ParseWordValue(value.base, &labels, base)) {
            reason = "ラベル " + Cp932ToUtf8(value.base) + " がプログラムにありません";
            return false;
        }
        const WORD address = static_cast<WORD>(base + value.offset);
        actual = mem.GetWord(address);
        char text[16];
        std::snprintf(text, sizeof text, " (#%04X)", address);
        where += text;
    }
    if (actual == expected) return true;
    reason = where + " が違います: 期待 " + Describe(expected) + "、実際 " + Describe(actual);
    return false;
}
