#pragma once
#include "assembler/mnemonic.h"

// The operand forms of the statement classes. Each base gives its form's assembly
// and length; a named operation class derives from one and adds only what it does
// (mnemonic_classes.h).

// Machine instructions and macros: executable.
class CExecutable : public CMnemonic {
public:
    CExecutable(WORD address, CStatementText&& text, IAssemblyContext* assembler, WORD length)
        : CMnemonic(address, std::move(text), assembler)
    {
        m_wLength = length;
    }
    bool IsExecutable() const override { return true; }
};

// r1,r2 (one word) or r,adr[,x] (two words): LD and the arithmetic, logic and compare instructions.
class CRegOrAdrInstruction : public CExecutable {
public:
    CRegOrAdrInstruction(WORD address, CStatementText&& text, IAssemblyContext* assembler)
        : CExecutable(address, std::move(text), assembler, 2)
    {
    }
    bool Assemble() override;

protected:
    // GR[r2] in the r1,r2 form (bit 10 of word 0), else the memory word at the effective address.
    WORD SecondOperand(const CRegister& reg, const CMemory& mem) const
    {
        return (m_code[0] & 0x0400) ? reg[FieldX()] : mem.GetWord(EffectiveAddress(reg));
    }
};

// r,adr[,x]: ST, LAD and the shifts.
class CRegAdrInstruction : public CExecutable {
public:
    CRegAdrInstruction(WORD address, CStatementText&& text, IAssemblyContext* assembler)
        : CExecutable(address, std::move(text), assembler, 2)
    {
    }
    bool Assemble() override { return AssembleRegAdr(OperandTokens()); }
};

// adr[,x]: PUSH, SVC, the jumps and CALL.
class CAdrInstruction : public CExecutable {
public:
    CAdrInstruction(WORD address, CStatementText&& text, IAssemblyContext* assembler)
        : CExecutable(address, std::move(text), assembler, 2)
    {
    }
    bool Assemble() override { return AssembleAdr(OperandTokens()); }

protected:
    // The jumps: to the effective address when taken, else on to the next statement.
    WORD JumpIf(bool taken, const CRegister& reg) const { return taken ? EffectiveAddress(reg) : GetNextAddress(); }
};

// JPL, JMI, JNZ, JZE, JOV: a trace stops at whichever successor is taken.
class CConditionalJump : public CAdrInstruction {
public:
    using CAdrInstruction::CAdrInstruction;
    void SetTraceStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const override;
};

// r: POP.
class CRegInstruction : public CExecutable {
public:
    CRegInstruction(WORD address, CStatementText&& text, IAssemblyContext* assembler)
        : CExecutable(address, std::move(text), assembler, 1)
    {
    }
    bool Assemble() override { return AssembleReg(OperandTokens()); }
};

// No operand: RET, NOP.
class CNoOperandInstruction : public CExecutable {
public:
    CNoOperandInstruction(WORD address, CStatementText&& text, IAssemblyContext* assembler)
        : CExecutable(address, std::move(text), assembler, 1)
    {
    }
    bool Assemble() override { return AssembleNoOperand(OperandTokens()); }
};

// Directives and comment lines: never executed, write nothing, always verify.
class CDirective : public CMnemonic {
public:
    using CMnemonic::CMnemonic;
    void SetTraceStops(const CRegister&, const CMemory&, CStopList& stops) const override { stops.Clear(); }
    std::span<const WORD> GetImage() const override { return {}; }
    bool VerifyCode(const CMemory&) const override { return true; }
};
