#pragma once
#include <string>
#include "machine/word.h"

// Hexadecimal digits as every pane, the listing and zelkora-cli write them: upper case.
inline char HexDigit(unsigned value) { return "0123456789ABCDEF"[value & 0xF]; }

// The four digits of a word at at[0..3].
inline void PutHex4(char* at, unsigned value)
{
    for (int i = 3; i >= 0; --i, value >>= 4) at[i] = HexDigit(value);
}

inline std::string Hex4(unsigned value)
{
    std::string text(4, '0');
    PutHex4(text.data(), value);
    return text;
}
