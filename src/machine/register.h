#pragma once
#include <array>
#include <string_view>
#include "machine/word.h"

// Register indices, also the order of the register-name table.
enum : int { REG_GR0 = 0, REG_GR7 = 7, REG_SP = 8, REG_PR = 9, REG_FR = 10, REG_COUNT = 11 };

// FR bits.
enum : WORD { FLAG_ZF = 1, FLAG_SF = 2, FLAG_OF = 4 };

// The register file: GR0-GR7, SP, PR, FR. Callers always pass an index 0-10.
class CRegister {
public:
    CRegister() { Clear(); }

    WORD& operator[](int index) { return m_regs[index]; }
    WORD operator[](int index) const { return m_regs[index]; }

    void Clear() { m_regs.fill(0); }

    void SetFlag(WORD flag, bool on)
    {
        m_regs[REG_FR] = on ? (m_regs[REG_FR] | flag) : (m_regs[REG_FR] & static_cast<WORD>(~flag));
    }
    bool GetFlag(WORD flag) const { return (m_regs[REG_FR] & flag) != 0; }
    bool operator==(const CRegister&) const = default;

private:
    std::array<WORD, REG_COUNT> m_regs;
};

// "GR0".."GR7", "SP", "PR", "FR" for 0-10.
std::string_view GetRegisterName(int index);

// Exact, case-sensitive match against the eleven names; -1 when none matches.
int FindRegisterIndex(std::string_view name);
