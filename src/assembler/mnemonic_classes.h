#pragma once
#include "assembler/instruction_bases.h"

// One class per operation: its operand form (the base) and what it does. The operation
// names and codes are in the operation-name table (operation_table.cpp); what each does
// is in execute.cpp, its flags through machine/flags.h.

// Load, store, address.
class CMnemonicLD final : public CRegOrAdrInstruction {
public:
    using CRegOrAdrInstruction::CRegOrAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicST final : public CRegAdrInstruction {
public:
    using CRegAdrInstruction::CRegAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicLAD final : public CRegAdrInstruction {
public:
    using CRegAdrInstruction::CRegAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};

// Arithmetic, logic, comparison.
class CMnemonicADDA final : public CRegOrAdrInstruction {
public:
    using CRegOrAdrInstruction::CRegOrAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicADDL final : public CRegOrAdrInstruction {
public:
    using CRegOrAdrInstruction::CRegOrAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicSUBA final : public CRegOrAdrInstruction {
public:
    using CRegOrAdrInstruction::CRegOrAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicSUBL final : public CRegOrAdrInstruction {
public:
    using CRegOrAdrInstruction::CRegOrAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicAND final : public CRegOrAdrInstruction {
public:
    using CRegOrAdrInstruction::CRegOrAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicOR final : public CRegOrAdrInstruction {
public:
    using CRegOrAdrInstruction::CRegOrAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicXOR final : public CRegOrAdrInstruction {
public:
    using CRegOrAdrInstruction::CRegOrAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicCPA final : public CRegOrAdrInstruction {
public:
    using CRegOrAdrInstruction::CRegOrAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicCPL final : public CRegOrAdrInstruction {
public:
    using CRegOrAdrInstruction::CRegOrAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};

// Shifts: the count is the effective address.
class CMnemonicSLA final : public CRegAdrInstruction {
public:
    using CRegAdrInstruction::CRegAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicSRA final : public CRegAdrInstruction {
public:
    using CRegAdrInstruction::CRegAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicSLL final : public CRegAdrInstruction {
public:
    using CRegAdrInstruction::CRegAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicSRL final : public CRegAdrInstruction {
public:
    using CRegAdrInstruction::CRegAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};

// Jumps.
class CMnemonicJPL final : public CConditionalJump {
public:
    using CConditionalJump::CConditionalJump;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicJMI final : public CConditionalJump {
public:
    using CConditionalJump::CConditionalJump;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicJNZ final : public CConditionalJump {
public:
    using CConditionalJump::CConditionalJump;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicJZE final : public CConditionalJump {
public:
    using CConditionalJump::CConditionalJump;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicJOV final : public CConditionalJump {
public:
    using CConditionalJump::CConditionalJump;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};

class CMnemonicJUMP final : public CAdrInstruction {
public:
    using CAdrInstruction::CAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
    void SetTraceStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const override;
};

// Stack and subroutines.
class CMnemonicPUSH final : public CAdrInstruction {
public:
    using CAdrInstruction::CAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicPOP final : public CRegInstruction {
public:
    using CRegInstruction::CRegInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicCALL final : public CAdrInstruction {
public:
    using CAdrInstruction::CAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
    void SetPassStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const override;
    void SetTraceStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const override;
};
class CMnemonicRET final : public CNoOperandInstruction {
public:
    using CNoOperandInstruction::CNoOperandInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
    void SetTraceStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const override;
};

// Supervisor call and no operation.
class CMnemonicSVC final : public CAdrInstruction {
public:
    using CAdrInstruction::CAdrInstruction;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicNOP final : public CNoOperandInstruction {
public:
    using CNoOperandInstruction::CNoOperandInstruction;
};

// Macros: fixed expansions, executed as one step.
class CMnemonicIN : public CExecutable {
public:
    CMnemonicIN(WORD address, CStatementText&& text, IAssemblyContext* assembler)
        : CExecutable(address, std::move(text), assembler, 12)
    {
    }
    bool Assemble() override;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
    bool WaitsForInput() const override { return true; }
    virtual WORD GetSvcNumber() const { return 1; }

protected:
    WORD m_wBuffer = 0;      // the buffer label's value
    WORD m_wLengthWord = 0;  // the length label's value
};
class CMnemonicOUT final : public CMnemonicIN {
public:
    using CMnemonicIN::CMnemonicIN;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
    bool WaitsForInput() const override { return false; }
    WORD GetSvcNumber() const override { return 2; }
};
class CMnemonicRPUSH final : public CExecutable {
public:
    CMnemonicRPUSH(WORD address, CStatementText&& text, IAssemblyContext* assembler)
        : CExecutable(address, std::move(text), assembler, 14)
    {
    }
    bool Assemble() override;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};
class CMnemonicRPOP final : public CExecutable {
public:
    CMnemonicRPOP(WORD address, CStatementText&& text, IAssemblyContext* assembler)
        : CExecutable(address, std::move(text), assembler, 7)
    {
    }
    bool Assemble() override;
    WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const override;
};

// Directives and comment lines.
class CMnemonicSTART final : public CDirective {
public:
    using CDirective::CDirective;
    bool Assemble() override;
    WORD GetEntryAddress() const { return m_wEntry; }

private:
    WORD m_wEntry = 0;
};
class CMnemonicEND final : public CDirective {
public:
    using CDirective::CDirective;
    bool Assemble() override;
};
class CMnemonicDS final : public CDirective {
public:
    using CDirective::CDirective;
    bool Assemble() override;
};
class CMnemonicDC final : public CDirective {
public:
    using CDirective::CDirective;
    bool Assemble() override;
    std::span<const WORD> GetImage() const override { return m_words; }

private:
    std::vector<WORD> m_words;
};
class CMnemonicComment final : public CDirective {
public:
    using CDirective::CDirective;
};
