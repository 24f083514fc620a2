// What each machine instruction and macro does to the registers, flags and memory.
#include <cstdio>
#include "assembler/mnemonic_classes.h"
#include "text/codepage.h"

namespace {
inline void SetOverflow(CRegister& reg, bool on) { reg.SetFlag(FLAG_OF, on); }

// Writes a result with ZF/SF by it and OF as given.
inline bool SetResult(CRegister& reg, int r, WORD value, bool overflow)
{
    reg[r] = value;
    reg.SetZeroSign(AsSigned(value));
    SetOverflow(reg, overflow);
    return true;
}

inline bool Bit(WORD v, unsigned n) { return (v >> n) & 1; }
}  // namespace

bool CMnemonicLD::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    return SetResult(reg, FieldR(), SecondOperand(reg, mem), false);
}

bool CMnemonicST::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    mem.SetWord(EffectiveAddress(reg), reg[FieldR()]);
    return true;
}

bool CMnemonicLAD::Execute(CRegister& reg, CMemory&, IExecutionHost*)
{
    reg[FieldR()] = EffectiveAddress(reg);
    return true;
}

bool CMnemonicADDA::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    const int sum = AsSigned(reg[FieldR()]) + AsSigned(SecondOperand(reg, mem));
    return SetResult(reg, FieldR(), static_cast<WORD>(sum), sum < -32768 || sum > 32767);
}

bool CMnemonicSUBA::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    const int diff = AsSigned(reg[FieldR()]) - AsSigned(SecondOperand(reg, mem));
    return SetResult(reg, FieldR(), static_cast<WORD>(diff), diff < -32768 || diff > 32767);
}

bool CMnemonicADDL::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    const unsigned sum = unsigned{reg[FieldR()]} + SecondOperand(reg, mem);
    return SetResult(reg, FieldR(), static_cast<WORD>(sum), sum > 0xFFFF);
}

bool CMnemonicSUBL::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    const WORD v = reg[FieldR()], m = SecondOperand(reg, mem);
    return SetResult(reg, FieldR(), static_cast<WORD>(v - m), m > v);
}

bool CMnemonicAND::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    return SetResult(reg, FieldR(), reg[FieldR()] & SecondOperand(reg, mem), false);
}

bool CMnemonicOR::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    return SetResult(reg, FieldR(), reg[FieldR()] | SecondOperand(reg, mem), false);
}

bool CMnemonicXOR::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    return SetResult(reg, FieldR(), reg[FieldR()] ^ SecondOperand(reg, mem), false);
}

namespace {
inline bool Compare(CRegister& reg, bool equal, bool less)
{
    reg.SetFlag(FLAG_ZF, equal);
    reg.SetFlag(FLAG_SF, less);
    reg.SetFlag(FLAG_OF, false);
    return true;
}
}  // namespace

bool CMnemonicCPA::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    const std::int16_t v = AsSigned(reg[FieldR()]), m = AsSigned(SecondOperand(reg, mem));
    return Compare(reg, v == m, v < m);
}

bool CMnemonicCPL::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    const WORD v = reg[FieldR()], m = SecondOperand(reg, mem);
    return Compare(reg, v == m, v < m);
}

// Shifts. Counts of 16 and more all behave alike, so the count is capped before shifting.
bool CMnemonicSLA::Execute(CRegister& reg, CMemory&, IExecutionHost*)
{
    const WORD v = reg[FieldR()];
    const unsigned n = std::min<unsigned>(EffectiveAddress(reg), 16);
    const WORD shifted = static_cast<WORD>(unsigned{v} << n);
    return SetResult(reg, FieldR(), static_cast<WORD>((v & 0x8000) | (shifted & 0x7FFF)), Bit(shifted, 15));
}

bool CMnemonicSRA::Execute(CRegister& reg, CMemory&, IExecutionHost*)
{
    const WORD v = reg[FieldR()];
    const unsigned n = EffectiveAddress(reg);
    const WORD result = static_cast<WORD>(AsSigned(v) >> std::min(n, 15u));
    const bool of = n == 0 ? reg.GetFlag(FLAG_OF) : (n <= 16 && Bit(v, n - 1));
    return SetResult(reg, FieldR(), result, of);
}

bool CMnemonicSLL::Execute(CRegister& reg, CMemory&, IExecutionHost*)
{
    const WORD v = reg[FieldR()];
    const unsigned n = EffectiveAddress(reg);
    const WORD result = n >= 16 ? 0 : static_cast<WORD>(unsigned{v} << n);
    const bool of = n >= 1 && n <= 16 && Bit(v, 16 - n);
    return SetResult(reg, FieldR(), result, of);
}

bool CMnemonicSRL::Execute(CRegister& reg, CMemory&, IExecutionHost*)
{
    const WORD v = reg[FieldR()];
    const unsigned n = EffectiveAddress(reg);
    const WORD result = n >= 16 ? 0 : static_cast<WORD>(v >> n);
    const bool of = n == 0 ? reg.GetFlag(FLAG_OF) : (n <= 16 && Bit(v, n - 1));
    return SetResult(reg, FieldR(), result, of);
}

// Jumps.
bool CMnemonicJPL::Execute(CRegister& reg, CMemory&, IExecutionHost*)
{
    return JumpIf(!reg.GetFlag(FLAG_ZF) && !reg.GetFlag(FLAG_SF), reg);
}
bool CMnemonicJMI::Execute(CRegister& reg, CMemory&, IExecutionHost*) { return JumpIf(reg.GetFlag(FLAG_SF), reg); }
bool CMnemonicJNZ::Execute(CRegister& reg, CMemory&, IExecutionHost*) { return JumpIf(!reg.GetFlag(FLAG_ZF), reg); }
bool CMnemonicJZE::Execute(CRegister& reg, CMemory&, IExecutionHost*) { return JumpIf(reg.GetFlag(FLAG_ZF), reg); }
bool CMnemonicJOV::Execute(CRegister& reg, CMemory&, IExecutionHost*) { return JumpIf(reg.GetFlag(FLAG_OF), reg); }
bool CMnemonicJUMP::Execute(CRegister& reg, CMemory&, IExecutionHost*) { return JumpIf(true, reg); }

void CConditionalJump::SetTraceStops(const CRegister& reg, const CMemory&, CStopList& stops) const
{
    stops.SetStops(static_cast<WORD>(m_wAddress + m_wLength), EffectiveAddress(reg));
}

void CMnemonicJUMP::SetTraceStops(const CRegister& reg, const CMemory&, CStopList& stops) const
{
    stops.SetStop(EffectiveAddress(reg));
}

// Stack and subroutines: a push decrements SP and then writes; a pop reads and then increments.
namespace {
inline void Push(CRegister& reg, CMemory& mem, WORD value)
{
    --reg[REG_SP];
    mem.SetWord(reg[REG_SP], value);
}
inline WORD Pop(CRegister& reg, const CMemory& mem)
{
    return mem.GetWord(reg[REG_SP]++);
}
}  // namespace

bool CMnemonicPUSH::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    Push(reg, mem, EffectiveAddress(reg));
    return true;
}

bool CMnemonicPOP::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    const WORD value = Pop(reg, mem);
    reg[FieldR()] = value;
    return true;
}

bool CMnemonicCALL::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    m_wNext = EffectiveAddress(reg);
    Push(reg, mem, static_cast<WORD>(m_wAddress + 2));
    return true;
}

void CMnemonicCALL::SetPassStops(const CRegister&, const CMemory&, CStopList& stops) const
{
    stops.SetStop(static_cast<WORD>(m_wAddress + m_wLength));
}

void CMnemonicCALL::SetTraceStops(const CRegister& reg, const CMemory&, CStopList& stops) const
{
    stops.SetStop(EffectiveAddress(reg));
}

bool CMnemonicRET::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    m_wNext = Pop(reg, mem);
    return true;
}

void CMnemonicRET::SetTraceStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const
{
    stops.SetStop(mem.GetWord(reg[REG_SP]));
}

bool CMnemonicSVC::Execute(CRegister& reg, CMemory&, IExecutionHost* host)
{
    // The line is program output, so it goes out in the program's code page.
    static const std::string prefix = Utf8ToCp932("ｽｰﾊﾞｰﾊﾞｲｻﾞｺｰﾙ ");
    m_wCallNumber = EffectiveAddress(reg);
    if (host) host->WriteOutputLine(prefix + std::to_string(m_wCallNumber));
    reg[REG_FR] = static_cast<WORD>(m_wCallNumber % 7);
    return true;
}

// Macros.
bool CMnemonicIN::Execute(CRegister& reg, CMemory& mem, IExecutionHost* host)
{
    std::string line;
    if (!host || !host->ReadInputLine(line)) {
        mem.SetWord(m_wLengthWord, 0xFFFF);
        reg[REG_FR] = 0;
        return true;
    }
    const size_t count = std::min<size_t>(line.size(), 80);
    mem.SetWord(m_wLengthWord, static_cast<WORD>(count));
    for (size_t i = 0; i < count; ++i) mem.SetWord(static_cast<WORD>(m_wBuffer + i), ByteToWord(line[i]));
    reg[REG_FR] = 1;
    return true;
}

bool CMnemonicOUT::Execute(CRegister& reg, CMemory& mem, IExecutionHost* host)
{
    const unsigned count = std::min<unsigned>(mem.GetWord(m_wLengthWord), 256);
    std::string text;
    text.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        const unsigned c = mem.GetWord(static_cast<WORD>(m_wBuffer + i)) & 0xFF;
        if (c >= 0x20 && c <= 0x7E) {
            text.push_back(static_cast<char>(c));
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "\\%02X", c);
            text += escape;
        }
    }
    if (host) host->WriteOutputLine(text);
    reg[REG_FR] = static_cast<WORD>(count % 7);
    return true;
}

bool CMnemonicRPUSH::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    for (int k = 1; k <= 7; ++k) Push(reg, mem, reg[k]);
    return true;
}

bool CMnemonicRPOP::Execute(CRegister& reg, CMemory& mem, IExecutionHost*)
{
    for (int k = 7; k >= 1; --k) reg[k] = Pop(reg, mem);
    return true;
}
