#include "simulator/value_entry.h"

#include <cstdint>
#include "assembler/label_bank.h"

namespace {
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int DigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

// A number read the way the C library's strtol and strtoul read one with 32-bit
// longs: leading white space, an optional sign, for base 16 an optional "0x". The
// magnitude saturates; the caller decides what an overflow gives.
struct ScannedNumber {
    bool negative = false;
    bool overflow = false;
    std::uint64_t magnitude = 0;
    bool complete = false;  // digits were read and nothing follows them
};

ScannedNumber ScanNumber(std::string_view text, int base)
{
    ScannedNumber n;
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) n.negative = text[i++] == '-';
    // "0x" counts only when a hexadecimal digit follows; otherwise the "0" is the number.
    if (base == 16 && i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        DigitValue(text[i + 2]) < 16)
        i += 2;
    const size_t first = i;
    for (; i < text.size() && DigitValue(text[i]) < base; ++i) {
        n.magnitude = n.magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(DigitValue(text[i]));
        if (n.magnitude > 0xFFFFFFFFull) {
            n.overflow = true;
            n.magnitude = 0xFFFFFFFFull;
        }
    }
    n.complete = i > first && i == text.size();
    return n;
}

bool ParseHexadecimal(std::string_view digits, WORD& value)
{
    const ScannedNumber n = ScanNumber(digits, 16);
    if (!n.complete) return false;
    // strtoul: an overflow gives ULONG_MAX whatever the sign; a sign negates modulo 2^32.
    const std::uint32_t v = n.overflow   ? 0xFFFFFFFFu
                            : n.negative ? static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(n.magnitude))
                                         : static_cast<std::uint32_t>(n.magnitude);
    value = static_cast<WORD>(v);
    return true;
}

bool ParseDecimal(std::string_view text, WORD& value)
{
    const ScannedNumber n = ScanNumber(text, 10);
    if (!n.complete) return false;
    // strtol: clamped to the 32-bit range.
    std::int64_t v = n.negative ? -static_cast<std::int64_t>(n.magnitude) : static_cast<std::int64_t>(n.magnitude);
    if (v > INT32_MAX) v = INT32_MAX;
    if (v < INT32_MIN) v = INT32_MIN;
    value = static_cast<WORD>(static_cast<std::uint32_t>(static_cast<std::int32_t>(v)));
    return true;
}

bool ParseBinary(std::string_view digits, WORD& value)
{
    if (digits.empty()) return false;
    WORD v = 0;
    for (char c : digits) {
        if (c != '0' && c != '1') return false;
        v = static_cast<WORD>((v << 1) | (c == '1' ? 1 : 0));
    }
    value = v;
    return true;
}
}  // namespace

bool ParseWordValue(std::string_view text, const CLabelBank* labels, WORD& value)
{
    if (text.empty()) return false;
    const char first = text[0];
    switch (first) {
    case '#': return text.size() > 1 && ParseHexadecimal(text.substr(1), value);
    case '%': return ParseBinary(text.substr(1), value);
    case '\'':
        // Exactly one byte, sign-extended like every character stored into a word.
        if (text.size() != 2) return false;
        value = static_cast<WORD>(static_cast<std::int16_t>(static_cast<signed char>(text[1])));
        return true;
    default: break;
    }
    if ((first >= 'A' && first <= 'Z') || first == '_') {
        const CLabel* label = labels ? labels->Lookup(text) : nullptr;
        if (!label) return false;
        value = label->GetValue();
        return true;
    }
    return ParseDecimal(text, value);
}

std::string FormatBinaryWord(WORD value)
{
    std::string text;
    text.reserve(19);
    for (int bit = 15; bit >= 0; --bit) {
        text += (value >> bit) & 1 ? '1' : '0';
        if (bit % 4 == 0 && bit != 0) text += ' ';
    }
    return text;
}
