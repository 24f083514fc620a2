#pragma once
#include "assembler/instruction_bases.h"

// One class per operation. Each states its operand form (its base) and its execution;
// the operation names and codes are in the operation-name table.

#define ZELKORA_EXECUTE bool Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) override

// Load, store, address.
class CMnemonicLD final : public CRegOrAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicLD, CRegOrAdrInstruction, 2) ZELKORA_EXECUTE; };
class CMnemonicST final : public CRegAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicST, CRegAdrInstruction, 2) ZELKORA_EXECUTE; };
class CMnemonicLAD final : public CRegAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicLAD, CRegAdrInstruction, 2) ZELKORA_EXECUTE; };

// Arithmetic, logic, comparison.
class CMnemonicADDA final : public CRegOrAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicADDA, CRegOrAdrInstruction, 2) ZELKORA_EXECUTE; };
class CMnemonicADDL final : public CRegOrAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicADDL, CRegOrAdrInstruction, 2) ZELKORA_EXECUTE; };
class CMnemonicSUBA final : public CRegOrAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicSUBA, CRegOrAdrInstruction, 2) ZELKORA_EXECUTE; };
class CMnemonicSUBL final : public CRegOrAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicSUBL, CRegOrAdrInstruction, 2) ZELKORA_EXECUTE; };
class CMnemonicAND final : public CRegOrAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicAND, CRegOrAdrInstruction, 2) ZELKORA_EXECUTE; };
class CMnemonicOR final : public CRegOrAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicOR, CRegOrAdrInstruction, 2) ZELKORA_EXECUTE; };
class CMnemonicXOR final : public CRegOrAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicXOR, CRegOrAdrInstruction, 2) ZELKORA_EXECUTE; };
class CMnemonicCPA final : public CRegOrAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicCPA, CRegOrAdrInstruction, 2) ZELKORA_EXECUTE; };
class CMnemonicCPL final : public CRegOrAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicCPL, CRegOrAdrInstruction, 2) ZELKORA_EXECUTE; };

// Shifts: the count is the effective address.
class CMnemonicSLA final : public CRegAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicSLA, CRegAdrInstruction, 2) ZELKORA_EXECUTE; };
class CMnemonicSRA final : public CRegAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicSRA, CRegAdrInstruction, 2) ZELKORA_EXECUTE; };
class CMnemonicSLL final : public CRegAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicSLL, CRegAdrInstruction, 2) ZELKORA_EXECUTE; };
class CMnemonicSRL final : public CRegAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicSRL, CRegAdrInstruction, 2) ZELKORA_EXECUTE; };

// Jumps.
class CMnemonicJPL final : public CConditionalJump { public: ZELKORA_STATEMENT_CTOR(CMnemonicJPL, CConditionalJump, 2) ZELKORA_EXECUTE; };
class CMnemonicJMI final : public CConditionalJump { public: ZELKORA_STATEMENT_CTOR(CMnemonicJMI, CConditionalJump, 2) ZELKORA_EXECUTE; };
class CMnemonicJNZ final : public CConditionalJump { public: ZELKORA_STATEMENT_CTOR(CMnemonicJNZ, CConditionalJump, 2) ZELKORA_EXECUTE; };
class CMnemonicJZE final : public CConditionalJump { public: ZELKORA_STATEMENT_CTOR(CMnemonicJZE, CConditionalJump, 2) ZELKORA_EXECUTE; };
class CMnemonicJOV final : public CConditionalJump { public: ZELKORA_STATEMENT_CTOR(CMnemonicJOV, CConditionalJump, 2) ZELKORA_EXECUTE; };
class CMnemonicJUMP final : public CJumpInstruction {
public:
    ZELKORA_STATEMENT_CTOR(CMnemonicJUMP, CJumpInstruction, 2)
    ZELKORA_EXECUTE;
    void SetTraceStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const override;
};

// Stack and subroutines.
class CMnemonicPUSH final : public CAdrInstruction { public: ZELKORA_STATEMENT_CTOR(CMnemonicPUSH, CAdrInstruction, 2) ZELKORA_EXECUTE; };
class CMnemonicPOP final : public CExecutable {
public:
    ZELKORA_STATEMENT_CTOR(CMnemonicPOP, CExecutable, 1)
    bool Assemble() override { return AssembleReg(OperandTokens()); }
    ZELKORA_EXECUTE;
};
class CMnemonicCALL final : public CJumpInstruction {
public:
    ZELKORA_STATEMENT_CTOR(CMnemonicCALL, CJumpInstruction, 2)
    ZELKORA_EXECUTE;
    void SetPassStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const override;
    void SetTraceStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const override;
};
class CMnemonicRET final : public CJumpInstruction {
public:
    ZELKORA_STATEMENT_CTOR(CMnemonicRET, CJumpInstruction, 1)
    bool Assemble() override { return AssembleNoOperand(OperandTokens()); }
    ZELKORA_EXECUTE;
    void SetTraceStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const override;
};

// Supervisor call and no operation.
class CMnemonicSVC final : public CAdrInstruction {
public:
    ZELKORA_STATEMENT_CTOR(CMnemonicSVC, CAdrInstruction, 2)
    ZELKORA_EXECUTE;

private:
    WORD m_wCallNumber = 0;
};
class CMnemonicNOP final : public CExecutable {
public:
    ZELKORA_STATEMENT_CTOR(CMnemonicNOP, CExecutable, 1)
    bool Assemble() override { return AssembleNoOperand(OperandTokens()); }
};

// Macros: fixed expansions, executed as one step.
class CMnemonicIN : public CExecutable {
public:
    ZELKORA_STATEMENT_CTOR(CMnemonicIN, CExecutable, 12)
    bool Assemble() override;
    ZELKORA_EXECUTE;
    virtual WORD GetSvcNumber() const { return 1; }

protected:
    WORD m_wBuffer = 0;     // the buffer label's value
    WORD m_wLengthWord = 0; // the length label's value
};
class CMnemonicOUT final : public CMnemonicIN {
public:
    using CMnemonicIN::CMnemonicIN;
    ZELKORA_EXECUTE;
    WORD GetSvcNumber() const override { return 2; }
};
class CMnemonicRPUSH final : public CExecutable {
public:
    ZELKORA_STATEMENT_CTOR(CMnemonicRPUSH, CExecutable, 14)
    bool Assemble() override;
    ZELKORA_EXECUTE;
};
class CMnemonicRPOP final : public CExecutable {
public:
    ZELKORA_STATEMENT_CTOR(CMnemonicRPOP, CExecutable, 7)
    bool Assemble() override;
    ZELKORA_EXECUTE;
};

// Directives and comment lines.
class CMnemonicSTART final : public CDirective {
public:
    CMnemonicSTART(WORD address, std::string&& operation, std::string&& operand, std::string&& source,
                   IAssemblyContext* assembler)
        : CDirective(address, std::move(operation), std::move(operand), std::move(source), assembler),
          m_wEntry(address)
    {
    }
    bool Assemble() override;
    WORD GetEntryAddress() const { return m_wEntry; }

private:
    WORD m_wEntry;
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
    WORD GetLength() const override { return static_cast<WORD>(m_words.size()); }
    std::span<const WORD> GetImage() const override { return m_words; }

private:
    std::vector<WORD> m_words;
};
class CMnemonicComment final : public CDirective {
public:
    CMnemonicComment(WORD address, std::string&& source, IAssemblyContext* assembler)
        : CDirective(address, std::string(), std::string(), std::move(source), assembler)
    {
    }
};

#undef ZELKORA_EXECUTE
