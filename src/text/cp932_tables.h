#pragma once
#include <cstdint>
#include <string_view>
#include <vector>
#include "text/cp932_data.h"

// Code page 932 as look-up tables: every conversion between it and Unicode, and the
// choice between it and UTF-8, reads these, so that the code page has one source.
struct CCp932Tables {
    std::vector<char16_t> single = std::vector<char16_t>(256, 0);  // byte -> character, 0: none
    std::vector<char16_t> dual = std::vector<char16_t>(65536, 0);  // lead << 8 | trail -> character, 0: none
    // Character -> the code the code page writes for it (a byte, or lead << 8 | trail), 0: none.
    // Some characters are written with the code of a similar one (U+301C as 0x8160, which reads
    // back as U+FF5E); Exact tells them apart.
    std::vector<std::uint16_t> encode = std::vector<std::uint16_t>(65536, 0);

    // The character of the code at bytes[i] and how many bytes it takes; 0 and 1 for a byte
    // that starts no character.
    char16_t Decode(std::string_view bytes, size_t i, size_t& length) const;
    // Whether the character is written with a code that reads back as the same character.
    bool Exact(char16_t c) const;
};

// The tables every conversion reads: made once from the generated data.
const CCp932Tables& Cp932Tables();

// Tables from data in cp932_data.h's form: a character is written with the lowest code that
// reads as it (single bytes before double), unless the exceptions say otherwise.
CCp932Tables Cp932TablesFromData(const char16_t* high, const char16_t* dual,
                                 const Cp932Data::CEncodeException* exceptions, size_t count);

inline bool IsCp932LeadByte(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
