#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include "assembler/assemble_error.h"
#include "assembler/assembly_context.h"
#include "assembler/label_bank.h"
#include "assembler/literal_bank.h"
#include "assembler/mnemonic_array.h"
#include "assembler/statement_arena.h"

// Two-pass assembler for one CASL II source text. Pass 1 cuts every line into a
// statement, defines the labels and checks the syntax; pass 2 (only after a clean
// pass 1) assembles the same statements again with every label and literal known.
// Every wrong line gives one error record.
class CAssembler : public IAssemblyContext {
public:
    static constexpr WORD kOrigin = 0x0100;

    virtual ~CAssembler() = default;

    // Both passes and the START/END checks over a source text cut into lines at CR LF
    // or LF; true when there is no error.
    bool AssembleSource(std::string_view text);

    // One pass by hand: BeginPass, then AssembleLine for each line.
    void BeginPass(int pass);
    void AssembleLine(std::string_view line);

    bool HasErrors() const { return !m_errors.IsEmpty(); }
    void LoadProgram(CMemory& mem) const;

    const CMnemonicArray& GetProgram() const { return m_program; }
    CMnemonicArray& GetProgram() { return m_program; }
    const CLabelBank& GetLabels() const { return m_labels; }
    const CLiteralBank& GetLiterals() const { return m_literals; }
    const CAssembleErrorArray& GetErrors() const { return m_errors; }
    CAssembleErrorArray& GetErrors() { return m_errors; }
    // The program's first PR: the entry of the first START block.
    WORD GetStartAddress() const { return m_blocks.entry; }

    // IAssemblyContext
    int GetPass() const override { return m_nPass; }
    bool LookupLabel(std::string_view name, WORD& value) const override;
    int AddLiteral(std::string_view text, WORD instructionAddress, WORD& address) override;
    CBlockCounts& GetBlockCounts() override { return m_blocks; }

private:
    CStatementPtr CreateMnemonic(CStatementText&& text);
    // Pass 2 over the statements of pass 1.
    void Reassemble(CMnemonicArray&& statements);
    void AddError(std::string_view line, int error) { m_errors.Add(m_nLine, std::string(line), error); }
    // Appends 2028 and 2029 when the blocks are not complete.
    void CheckBlocks();

    CStatementArena m_arena;  // first, so that it goes last: the program's statements live in it
    CLabelBank m_labels;
    CLiteralBank m_literals;
    int m_nPass = 1;
    CBlockCounts m_blocks;
    CAssembleErrorArray m_errors;
    WORD m_wAddress = kOrigin;
    int m_nLine = 0;
    CMnemonicArray m_program;
};

// Calls f with each line of a source text, cut at CR LF or LF, in order; the text
// after the last line end is a line only when it is not empty.
template <class F>
void ForEachSourceLine(std::string_view text, F&& f)
{
    size_t start = 0;
    while (start < text.size()) {
        const size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            f(text.substr(start));
            return;
        }
        size_t end = lf;
        if (end > start && text[end - 1] == '\r') --end;
        f(text.substr(start, end - start));
        start = lf + 1;
    }
}
