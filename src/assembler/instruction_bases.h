#pragma once
#include "assembler/mnemonic.h"

// Shared shapes of the statement classes: each named operation class derives from
// the one that gives its operand form, and adds only its own execution.

// Machine instructions and macros: executable, fixed length.
// The statement classes take their texts as rvalues and move them once, into CMnemonic:
// a statement is made for every line in every pass.
class CExecutable : public CMnemonic {
public:
    CExecutable(WORD address, std::string&& operation, std::string&& operand, std::string&& source,
                IAssemblyContext* assembler, WORD length)
        : CMnemonic(address, std::move(operation), std::move(operand), std::move(source), assembler)
    {
        m_wLength = length;
    }
    bool IsExecutable() const override { return true; }
};

#define ZELKORA_STATEMENT_CTOR(Class, Base, length)                                                   \
    Class(WORD address, std::string&& operation, std::string&& operand, std::string&& source,          \
          IAssemblyContext* assembler)                                                                 \
        : Base(address, std::move(operation), std::move(operand), std::move(source), assembler, length) \
    {                                                                                                  \
    }

// r1,r2 (one word) or r,adr[,x] (two words): LD and the arithmetic, logic and compare instructions.
class CRegOrAdrInstruction : public CExecutable {
public:
    using CExecutable::CExecutable;
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
    using CExecutable::CExecutable;
    bool Assemble() override { return AssembleRegAdr(OperandTokens()); }
};

// adr[,x]: PUSH, SVC and the classes below.
class CAdrInstruction : public CExecutable {
public:
    using CExecutable::CExecutable;
    bool Assemble() override { return AssembleAdr(OperandTokens()); }
};

// Instructions that choose their successor when they execute.
class CJumpInstruction : public CAdrInstruction {
public:
    using CAdrInstruction::CAdrInstruction;
    WORD GetNextAddress() const override { return m_wNext; }

protected:
    bool JumpIf(bool taken, const CRegister& reg)
    {
        m_wNext = taken ? EffectiveAddress(reg) : static_cast<WORD>(m_wAddress + m_wLength);
        return true;
    }
    WORD m_wNext = 0;
};

// JPL, JMI, JNZ, JZE, JOV: a trace stops at whichever successor is taken.
class CConditionalJump : public CJumpInstruction {
public:
    using CJumpInstruction::CJumpInstruction;
    void SetTraceStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const override;
};

// Directives and comment lines: never executed, write nothing, always verify.
class CDirective : public CMnemonic {
public:
    using CMnemonic::CMnemonic;
    void SetTraceStops(const CRegister&, const CMemory&, CStopList& stops) const override { stops.Clear(); }
    std::span<const WORD> GetImage() const override { return {}; }
    bool VerifyCode(const CMemory&) const override { return true; }
};
