#pragma once
#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <vector>
#include "assembler/assembly_context.h"
#include "assembler/execution_host.h"
#include "machine/memory.h"
#include "machine/register.h"
#include "machine/stop_list.h"

// One source statement: a machine instruction, directive, macro or comment line.
// Each operation is a subclass; this base holds what they share: the fields,
// the operand syntax and the operand forms.
class CMnemonic {
public:
    static constexpr int kMaxCode = 32;
    using Tokens = std::vector<std::string>;
    // Operand tokens as the operand forms read them.
    using TokenViews = std::span<const std::string_view>;

    CMnemonic(WORD address, std::string operation, std::string operand, std::string source,
              IAssemblyContext* assembler);
    virtual ~CMnemonic() = default;
    CMnemonic(const CMnemonic&) = delete;
    CMnemonic& operator=(const CMnemonic&) = delete;

    // Stops of a pass run (step over a call) and of a trace run (one statement).
    virtual void SetPassStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const;
    virtual void SetTraceStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const;
    // Verifies the words in memory, executes and moves PR on. Shows 2101 on a mismatch.
    bool Step(CRegister& reg, CMemory& mem, IExecutionHost* host);
    virtual bool IsExecutable() const { return false; }
    virtual WORD GetNextAddress() const { return static_cast<WORD>(m_wAddress + m_wLength); }
    virtual WORD GetLength() const { return m_wLength; }
    virtual bool Assemble() { return true; }
    // Writes GetImage() at the statement's address.
    virtual void LoadCode(CMemory& mem) const;
    // The words that loading writes, first to last (none for directives but DC).
    virtual std::span<const WORD> GetImage() const { return {m_code, std::min<size_t>(m_wLength, kMaxCode)}; }
    virtual bool Execute(CRegister& reg, CMemory& mem, IExecutionHost* host);
    virtual bool VerifyCode(const CMemory& mem) const;

    int GetError() const { return m_nError; }
    WORD GetAddress() const { return m_wAddress; }
    WORD GetCode(int i) const { return m_code[i]; }
    const std::string& GetSourceLine() const { return m_strSource; }
    const std::string& GetOperation() const { return m_strOperation; }
    const std::string& GetOperand() const { return m_strOperand; }
    bool HasBreakpoint() const { return m_bBreakpoint != 0; }
    void SetBreakpoint(bool on) { m_bBreakpoint = on ? 1 : 0; }
    // The source line with tabs expanded to the next multiple of 8 columns (its first limit bytes).
    std::string GetExpandedSource(size_t limit = std::string::npos) const;

    // The operation's base code from the operation-name table, put into word 0.
    void InitCode(WORD code) { m_code[0] = code; }

    // Operand syntax.
    static Tokens SplitOperands(std::string_view operand);
    static bool ParseRegister(std::string_view token, int& reg);
    static bool ParseIndexRegister(std::string_view token, int& reg);
    bool ParseAddress(std::string_view token, WORD& value);
    bool ResolveLabel(std::string_view token, WORD& value);
    bool ResolveLiteral(std::string_view text, WORD& value);

protected:
    // Operand forms; each builds words 0 and 1 or sets the error number.
    bool AssembleRegReg(TokenViews tokens);
    bool AssembleRegAdr(TokenViews tokens);
    bool AssembleAdr(TokenViews tokens);
    bool AssembleReg(TokenViews tokens);
    bool AssembleNoOperand(TokenViews tokens);

    // The operand field cut into tokens: views into the operand text, in a list that
    // the next call (of any statement) reuses, so that assembling allocates nothing.
    TokenViews OperandTokens() const;

    bool Fail(int error) { m_nError = error; return false; }
    int GetPass() const { return m_pAssembler ? m_pAssembler->GetPass() : 1; }

    // Operand fields of the assembled first word.
    int FieldR() const { return (m_code[0] >> 4) & 0xF; }
    int FieldX() const { return m_code[0] & 0xF; }
    WORD EffectiveAddress(const CRegister& reg) const
    {
        const int x = FieldX();
        return static_cast<WORD>(m_code[1] + (x == 0xF ? 0 : reg[x]));
    }

    int m_bBreakpoint = 0;
    int m_nError = 0;
    IAssemblyContext* m_pAssembler;
    std::string m_strSource;
    std::string m_strOperand;
    std::string m_strOperation;
    WORD m_wAddress;
    WORD m_wLength = 0;
    WORD m_code[kMaxCode] = {};
};
