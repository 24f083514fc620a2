// What each machine instruction and macro does to the registers, flags and memory,
// and where the program goes on: every Execute returns the next PR.
#include "assembler/mnemonic_classes.h"
#include "machine/flags.h"
#include "machine/hex.h"
#include "text/codepage.h"

using Reg = CRegister;
using Mem = CMemory;
using Host = IExecutionHost;

// Load, store, address.
WORD CMnemonicLD::Execute(Reg& reg, Mem& mem, Host*) const
{
    SetResult(reg, FieldR(), SecondOperand(reg, mem), false);
    return GetNextAddress();
}

WORD CMnemonicST::Execute(Reg& reg, Mem& mem, Host*) const
{
    mem.SetWord(EffectiveAddress(reg), reg[FieldR()]);
    return GetNextAddress();
}

WORD CMnemonicLAD::Execute(Reg& reg, Mem&, Host*) const
{
    reg[FieldR()] = EffectiveAddress(reg);
    return GetNextAddress();
}

// Arithmetic and logic.
WORD CMnemonicADDA::Execute(Reg& reg, Mem& mem, Host*) const
{
    const int sum = AsSigned(reg[FieldR()]) + AsSigned(SecondOperand(reg, mem));
    SetResult(reg, FieldR(), static_cast<WORD>(sum), SignedOverflow(sum));
    return GetNextAddress();
}

WORD CMnemonicSUBA::Execute(Reg& reg, Mem& mem, Host*) const
{
    const int diff = AsSigned(reg[FieldR()]) - AsSigned(SecondOperand(reg, mem));
    SetResult(reg, FieldR(), static_cast<WORD>(diff), SignedOverflow(diff));
    return GetNextAddress();
}

WORD CMnemonicADDL::Execute(Reg& reg, Mem& mem, Host*) const
{
    const unsigned sum = unsigned{reg[FieldR()]} + SecondOperand(reg, mem);
    SetResult(reg, FieldR(), static_cast<WORD>(sum), sum > 0xFFFF);
    return GetNextAddress();
}

WORD CMnemonicSUBL::Execute(Reg& reg, Mem& mem, Host*) const
{
    const WORD v = reg[FieldR()], m = SecondOperand(reg, mem);
    SetResult(reg, FieldR(), static_cast<WORD>(v - m), m > v);
    return GetNextAddress();
}

WORD CMnemonicAND::Execute(Reg& reg, Mem& mem, Host*) const
{
    SetResult(reg, FieldR(), reg[FieldR()] & SecondOperand(reg, mem), false);
    return GetNextAddress();
}

WORD CMnemonicOR::Execute(Reg& reg, Mem& mem, Host*) const
{
    SetResult(reg, FieldR(), reg[FieldR()] | SecondOperand(reg, mem), false);
    return GetNextAddress();
}

WORD CMnemonicXOR::Execute(Reg& reg, Mem& mem, Host*) const
{
    SetResult(reg, FieldR(), reg[FieldR()] ^ SecondOperand(reg, mem), false);
    return GetNextAddress();
}

// Comparison.
WORD CMnemonicCPA::Execute(Reg& reg, Mem& mem, Host*) const
{
    const std::int16_t v = AsSigned(reg[FieldR()]), m = AsSigned(SecondOperand(reg, mem));
    SetCompare(reg, v == m, v < m);
    return GetNextAddress();
}

WORD CMnemonicCPL::Execute(Reg& reg, Mem& mem, Host*) const
{
    const WORD v = reg[FieldR()], m = SecondOperand(reg, mem);
    SetCompare(reg, v == m, v < m);
    return GetNextAddress();
}

// Shifts. Counts of 16 and more all behave alike, so the count is capped before shifting.
WORD CMnemonicSLA::Execute(Reg& reg, Mem&, Host*) const
{
    const WORD v = reg[FieldR()];
    const unsigned n = std::min<unsigned>(EffectiveAddress(reg), 16);
    const WORD shifted = static_cast<WORD>(unsigned{v} << n);
    // The sign stays; OF is the last bit shifted out of the 15 value bits.
    SetResult(reg, FieldR(), static_cast<WORD>((v & 0x8000) | (shifted & 0x7FFF)), (shifted >> 15) & 1);
    return GetNextAddress();
}

WORD CMnemonicSRA::Execute(Reg& reg, Mem&, Host*) const
{
    const WORD v = reg[FieldR()];
    const unsigned n = EffectiveAddress(reg);
    const bool overflow = RightShiftOverflow(reg, v, n);
    SetResult(reg, FieldR(), static_cast<WORD>(AsSigned(v) >> std::min(n, 15u)), overflow);
    return GetNextAddress();
}

WORD CMnemonicSLL::Execute(Reg& reg, Mem&, Host*) const
{
    const WORD v = reg[FieldR()];
    const unsigned n = EffectiveAddress(reg);
    SetResult(reg, FieldR(), n >= 16 ? 0 : static_cast<WORD>(unsigned{v} << n), LeftShiftOverflow(v, n));
    return GetNextAddress();
}

WORD CMnemonicSRL::Execute(Reg& reg, Mem&, Host*) const
{
    const WORD v = reg[FieldR()];
    const unsigned n = EffectiveAddress(reg);
    const bool overflow = RightShiftOverflow(reg, v, n);
    SetResult(reg, FieldR(), n >= 16 ? 0 : static_cast<WORD>(v >> n), overflow);
    return GetNextAddress();
}

// Jumps.
WORD CMnemonicJPL::Execute(Reg& reg, Mem&, Host*) const
{
    return JumpIf(!reg.GetFlag(FLAG_ZF) && !reg.GetFlag(FLAG_SF), reg);
}
WORD CMnemonicJMI::Execute(Reg& reg, Mem&, Host*) const { return JumpIf(reg.GetFlag(FLAG_SF), reg); }
WORD CMnemonicJNZ::Execute(Reg& reg, Mem&, Host*) const { return JumpIf(!reg.GetFlag(FLAG_ZF), reg); }
WORD CMnemonicJZE::Execute(Reg& reg, Mem&, Host*) const { return JumpIf(reg.GetFlag(FLAG_ZF), reg); }
WORD CMnemonicJOV::Execute(Reg& reg, Mem&, Host*) const { return JumpIf(reg.GetFlag(FLAG_OF), reg); }
WORD CMnemonicJUMP::Execute(Reg& reg, Mem&, Host*) const { return EffectiveAddress(reg); }

void CConditionalJump::SetTraceStops(const Reg& reg, const Mem&, CStopList& stops) const
{
    stops.SetStops(GetNextAddress(), EffectiveAddress(reg));
}

void CMnemonicJUMP::SetTraceStops(const Reg& reg, const Mem&, CStopList& stops) const
{
    stops.SetStop(EffectiveAddress(reg));
}

// Stack and subroutines: a push decrements SP and then writes; a pop reads and then increments.
namespace {
inline void Push(Reg& reg, Mem& mem, WORD value)
{
    --reg[REG_SP];
    mem.SetWord(reg[REG_SP], value);
}
inline WORD Pop(Reg& reg, const Mem& mem) { return mem.GetWord(reg[REG_SP]++); }
}  // namespace

WORD CMnemonicPUSH::Execute(Reg& reg, Mem& mem, Host*) const
{
    Push(reg, mem, EffectiveAddress(reg));
    return GetNextAddress();
}

WORD CMnemonicPOP::Execute(Reg& reg, Mem& mem, Host*) const
{
    const WORD value = Pop(reg, mem);
    reg[FieldR()] = value;
    return GetNextAddress();
}

WORD CMnemonicCALL::Execute(Reg& reg, Mem& mem, Host*) const
{
    const WORD target = EffectiveAddress(reg);
    Push(reg, mem, GetNextAddress());
    return target;
}

void CMnemonicCALL::SetPassStops(const Reg&, const Mem&, CStopList& stops) const { stops.SetStop(GetNextAddress()); }

void CMnemonicCALL::SetTraceStops(const Reg& reg, const Mem&, CStopList& stops) const
{
    stops.SetStop(EffectiveAddress(reg));
}

WORD CMnemonicRET::Execute(Reg& reg, Mem& mem, Host*) const { return Pop(reg, mem); }

void CMnemonicRET::SetTraceStops(const Reg& reg, const Mem& mem, CStopList& stops) const
{
    stops.SetStop(mem.GetWord(reg[REG_SP]));
}

WORD CMnemonicSVC::Execute(Reg& reg, Mem&, Host* host) const
{
    // The line is program output, so it goes out in the program's code page.
    static const std::string prefix = Utf8ToCp932("ｽｰﾊﾞｰﾊﾞｲｻﾞｺｰﾙ ");
    const WORD number = EffectiveAddress(reg);
    if (host) host->WriteOutputLine(prefix + std::to_string(number));
    reg[REG_FR] = static_cast<WORD>(number % 7);
    return GetNextAddress();
}

// Macros.
WORD CMnemonicIN::Execute(Reg& reg, Mem& mem, Host* host) const
{
    std::string line;
    if (!host || !host->ReadInputLine(line)) {
        // Given up by a Stop: nothing changes and PR stays here, so that it runs again next time.
        if (host && host->InputGivenUp()) return GetAddress();
        mem.SetWord(m_wLengthWord, 0xFFFF);
        reg[REG_FR] = 0;
        return GetNextAddress();
    }
    const size_t count = std::min<size_t>(line.size(), 80);
    mem.SetWord(m_wLengthWord, static_cast<WORD>(count));
    for (size_t i = 0; i < count; ++i) mem.SetWord(static_cast<WORD>(m_wBuffer + i), ByteToWord(line[i]));
    reg[REG_FR] = 1;
    return GetNextAddress();
}

WORD CMnemonicOUT::Execute(Reg& reg, Mem& mem, Host* host) const
{
    // A byte that is no printable character is written as a backslash and two hexadecimal digits.
    const unsigned count = std::min<unsigned>(mem.GetWord(m_wLengthWord), 256);
    char text[256 * 3];
    size_t n = 0;
    for (unsigned i = 0; i < count; ++i) {
        const unsigned c = mem.GetWord(static_cast<WORD>(m_wBuffer + i)) & 0xFF;
        if (c >= 0x20 && c <= 0x7E) {
            text[n++] = static_cast<char>(c);
        } else {
            text[n++] = '\\';
            text[n++] = HexDigit(c >> 4);
            text[n++] = HexDigit(c);
        }
    }
    if (host) host->WriteOutputLine(std::string(text, n));
    reg[REG_FR] = static_cast<WORD>(count % 7);
    return GetNextAddress();
}

WORD CMnemonicRPUSH::Execute(Reg& reg, Mem& mem, Host*) const
{
    for (int k = 1; k <= 7; ++k) Push(reg, mem, reg[k]);
    return GetNextAddress();
}

WORD CMnemonicRPOP::Execute(Reg& reg, Mem& mem, Host*) const
{
    for (int k = 7; k >= 1; --k) reg[k] = Pop(reg, mem);
    return GetNextAddress();
}
