#pragma once
#include <cstdint>
#include "machine/register.h"

// The flag rules of the COMET II, in one place: every instruction that sets FR
// calls one of these.

// ZF and SF from a result read as signed; OF and the other FR bits stay.
inline void SetZeroSign(CRegister& reg, std::int16_t result)
{
    WORD fr = reg[REG_FR] & static_cast<WORD>(~(FLAG_ZF | FLAG_SF));
    if (result == 0)
        fr |= FLAG_ZF;
    else if (result < 0)
        fr |= FLAG_SF;
    reg[REG_FR] = fr;
}

// A result into GR r: ZF and SF by its value, OF as given (loads and logic give false).
inline void SetResult(CRegister& reg, int r, WORD value, bool overflow)
{
    reg[r] = value;
    SetZeroSign(reg, static_cast<std::int16_t>(value));
    reg.SetFlag(FLAG_OF, overflow);
}

// A comparison: ZF when equal, SF when less, OF cleared.
inline void SetCompare(CRegister& reg, bool equal, bool less)
{
    reg.SetFlag(FLAG_ZF, equal);
    reg.SetFlag(FLAG_SF, less);
    reg.SetFlag(FLAG_OF, false);
}

// Whether a signed sum or difference left the 16-bit range.
inline bool SignedOverflow(int result) { return result < -32768 || result > 32767; }

// OF of a right shift by n: the last bit shifted out (bit n - 1); a shift by 0 keeps OF,
// a shift by more than 16 shifts out only copies, so OF is cleared.
inline bool RightShiftOverflow(const CRegister& reg, WORD value, unsigned n)
{
    if (n == 0) return reg.GetFlag(FLAG_OF);
    return n <= 16 && ((value >> (n - 1)) & 1);
}

// OF of a logical left shift by n: the last bit shifted out (bit 16 - n).
inline bool LeftShiftOverflow(WORD value, unsigned n) { return n >= 1 && n <= 16 && ((value >> (16 - n)) & 1); }
