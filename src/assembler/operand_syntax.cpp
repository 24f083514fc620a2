#include "assembler/operand_syntax.h"

#include <climits>
#include "assembler/error_numbers.h"

std::string_view TrimLeft(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && IsWhite(s[i])) ++i;
    return s.substr(i);
}

std::string_view TrimRight(std::string_view s)
{
    size_t n = s.size();
    while (n > 0 && IsWhite(s[n - 1])) --n;
    return s.substr(0, n);
}

void SplitOperandViews(std::string_view operand, CTokenList& tokens)
{
    // Cut at every comma outside single quotes; quoted commas and tabs stay as written.
    bool inQuote = false;
    size_t start = 0;
    for (size_t i = 0; i < operand.size(); ++i) {
        if (operand[i] == '\'') {
            inQuote = !inQuote;
        } else if (operand[i] == ',' && !inQuote) {
            tokens.push_back(Trim(operand.substr(start, i - start)));
            start = i + 1;
        }
    }
    // A trailing comma adds no empty last token.
    if (start < operand.size()) tokens.push_back(Trim(operand.substr(start)));
}

int CheckLabelName(std::string_view name)
{
    if (name.size() > 8) return ERR_LABEL_TOO_LONG;
    if (name.empty() || name[0] < 'A' || name[0] > 'Z') return ERR_LABEL_FIRST_CHAR;
    for (char c : name.substr(1))
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))) return ERR_LABEL_CHARS;
    return 0;
}

bool ParseDecimal(std::string_view text, long& value)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;

    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return false;
        if (magnitude <= LLONG_MAX / 100) magnitude = magnitude * 10 + (c - '0');  // stays far beyond int32
    }
    long long v = negative ? -magnitude : magnitude;
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    value = static_cast<long>(v);
    return true;
}

bool ParseHexConstant(std::string_view text, WORD& value)
{
    if (text.size() != 5 || text[0] != '#') return false;
    unsigned v = 0;
    for (char c : text.substr(1)) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        v = v * 16 + digit;
    }
    value = static_cast<WORD>(v);
    return true;
}

CharConstant ParseCharConstant(std::string_view text, std::vector<WORD>* words)
{
    // There is no escape for a quote: the closing quote must be the last character.
    if (text.size() < 2 || text.find('\'', 1) != text.size() - 1) return CharConstant::Malformed;
    if (text.size() == 2) return CharConstant::Empty;
    if (words) {
        words->reserve(words->size() + text.size() - 2);
        for (char c : text.substr(1, text.size() - 2)) words->push_back(ByteToWord(c));
    }
    return CharConstant::Ok;
}

int ParseConstant(std::string_view token, const CConstantErrors& errors, std::vector<WORD>& words)
{
    if (token.empty()) return errors.missing;
    if (token[0] == '\'') {
        switch (ParseCharConstant(token, &words)) {
        case CharConstant::Malformed: return errors.charMalformed;
        case CharConstant::Empty: return errors.charEmpty;
        case CharConstant::Ok: return 0;
        }
    }
    WORD value;
    if (token[0] == '#') {
        if (!ParseHexConstant(token, value)) return errors.hex;
    } else {
        long number;
        if (!ParseDecimal(token, number)) return errors.decimal;
        value = static_cast<WORD>(number);
    }
    words.push_back(value);
    return 0;
}
