#pragma once
#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include "assembler/assembly_context.h"
#include "assembler/execution_host.h"
#include "assembler/operand_syntax.h"
#include "machine/memory.h"
#include "machine/register.h"
#include "machine/stop_list.h"

// The text of one statement: its source line, and where its operation and operand stand in it.
struct CStatementText {
    std::string_view line;  // kept by the statements' arena (statement_arena.h)
    std::uint32_t operation = 0, operationLength = 0;
    std::uint32_t operand = 0, operandLength = 0;
};

// One source statement: a machine instruction, directive, macro or comment line.
// Each operation is a subclass of the base that gives its operand form (instruction_bases.h);
// this base holds what they share: the fields, the operand syntax and the operand forms.
class CMnemonic {
public:
    // The longest machine code a statement holds (RPUSH); DC keeps its words itself.
    static constexpr int kMaxCode = 14;
    using TokenViews = std::span<const std::string_view>;

    CMnemonic(WORD address, CStatementText&& text, IAssemblyContext* assembler);
    virtual ~CMnemonic() = default;
    CMnemonic(const CMnemonic&) = delete;
    CMnemonic& operator=(const CMnemonic&) = delete;

    // Stops of a pass run (step over a call) and of a trace run (one statement).
    virtual void SetPassStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const;
    virtual void SetTraceStops(const CRegister& reg, const CMemory& mem, CStopList& stops) const;
    virtual bool IsExecutable() const { return false; }
    // Not virtual: the run loop asks it of every statement (DC keeps its count here too).
    WORD GetLength() const { return m_wLength; }
    WORD GetNextAddress() const { return static_cast<WORD>(m_wAddress + GetLength()); }
    // Builds the words from the operand; false with an error number when the operand is wrong.
    virtual bool Assemble() { return true; }
    // Writes GetImage() at the statement's address.
    void LoadCode(CMemory& mem) const;
    // The words that loading writes, first to last (none for directives but DC).
    virtual std::span<const WORD> GetImage() const { return {m_code, std::min<size_t>(m_wLength, kMaxCode)}; }
    // Executes the statement and returns the next PR.
    virtual WORD Execute(CRegister& reg, CMemory& mem, IExecutionHost* host) const;
    // Whether memory still holds the statement's words.
    virtual bool VerifyCode(const CMemory& mem) const;
    // Whether executing it may wait for an input line, which a Stop can give up (IN).
    virtual bool WaitsForInput() const { return false; }

    int GetError() const { return m_nError; }
    WORD GetAddress() const { return m_wAddress; }
    void SetAddress(WORD address) { m_wAddress = address; }
    std::uint32_t GetLineNumber() const { return m_nLine; }
    void SetLineNumber(std::uint32_t line) { m_nLine = line; }
    std::string_view GetSourceLine() const { return m_text.line; }
    std::string_view GetOperation() const { return m_text.line.substr(m_text.operation, m_text.operationLength); }
    std::string_view GetOperand() const { return m_text.line.substr(m_text.operand, m_text.operandLength); }
    bool HasBreakpoint() const { return m_bBreakpoint; }
    void SetBreakpoint(bool on) { m_bBreakpoint = on; }
    // The source line with tabs expanded to the next multiple of 8 columns (its first limit bytes).
    std::string GetExpandedSource(size_t limit = std::string::npos) const;

    // The operation's base code from the operation-name table, put into word 0 before each assembly.
    void InitCode(WORD code)
    {
        m_wBaseCode = code;
        m_code[0] = code;
    }
    WORD GetBaseCode() const { return m_wBaseCode; }

    // Operand syntax.
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

    // The operand field cut into tokens (views into the source line).
    CTokenList OperandTokens() const
    {
        CTokenList tokens;
        SplitOperandViews(GetOperand(), tokens);
        return tokens;
    }

    bool Fail(int error)
    {
        m_nError = error;
        return false;
    }
    int GetPass() const { return m_pAssembler ? m_pAssembler->GetPass() : 1; }

    // Operand fields of the assembled first word.
    int FieldR() const { return (m_code[0] >> 4) & 0xF; }
    int FieldX() const { return m_code[0] & 0xF; }
    WORD EffectiveAddress(const CRegister& reg) const
    {
        const int x = FieldX();
        return static_cast<WORD>(m_code[1] + (x == 0xF ? 0 : reg[x]));
    }

    IAssemblyContext* m_pAssembler;
    CStatementText m_text;
    std::uint32_t m_nLine = 0;
    int m_nError = 0;
    WORD m_wAddress;
    WORD m_wLength = 0;
    WORD m_wBaseCode = 0;
    bool m_bBreakpoint = false;
    WORD m_code[kMaxCode] = {};
};

// Statements live in their assembler's arena: their owner destroys them, the arena frees them.
struct CStatementDeleter {
    void operator()(CMnemonic* statement) const { statement->~CMnemonic(); }
};
using CStatementPtr = std::unique_ptr<CMnemonic, CStatementDeleter>;
