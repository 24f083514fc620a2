#pragma once
#include <cstdint>

// A COMET II machine word. Stored unsigned; each operation decides whether to
// read it as signed (two's complement) or unsigned.
using WORD = std::uint16_t;

inline constexpr std::int16_t AsSigned(WORD w) { return static_cast<std::int16_t>(w); }

// A byte of Shift-JIS text stored into a word: sign-extended, so 80-FF give #FF80-#FFFF.
inline constexpr WORD ByteToWord(char c)
{
    return static_cast<WORD>(static_cast<std::int16_t>(static_cast<signed char>(c)));
}
