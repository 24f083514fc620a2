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

// Two-pass assembler for one CASL II source text. Pass 1 cuts every line, defines
// the labels and checks the syntax; pass 2 (only after a clean pass 1) builds the
// final words and the literal pool. Every wrong line gives one error record.
class CAssembler : public IAssemblyContext {
public:
    static constexpr WORD kOrigin = 0x0100;

    virtual ~CAssembler() = default;

    void BeginPass(int pass);
    void AssembleLine(std::string_view line);
    std::unique_ptr<CMnemonic> CreateMnemonic(std::string operation, std::string operand, std::string_view line);
    static void StripComment(std::string& line);
    bool HasErrors() const { return !m_errors.IsEmpty(); }
    void LoadProgram(CMemory& mem) const;

    // Both passes and the START/END checks over the lines; true when there is no error.
    bool AssembleLines(const std::vector<std::string>& lines);
    // The same over a whole source text, cut into lines as SplitSourceLines does.
    bool AssembleSource(std::string_view text);
    // Appends 2028 and 2029 when the blocks are not complete.
    void CheckBlocks();

    const CMnemonicArray& GetProgram() const { return m_program; }
    CMnemonicArray& GetProgram() { return m_program; }
    const CLabelBank& GetLabels() const { return m_labels; }
    const CLiteralBank& GetLiterals() const { return m_literals; }
    const CAssembleErrorArray& GetErrors() const { return m_errors; }
    CAssembleErrorArray& GetErrors() { return m_errors; }
    int GetStartCount() const { return m_blocks.starts; }
    int GetEndCount() const { return m_blocks.ends; }
    // The program's first PR: the entry of the first START block.
    WORD GetStartAddress() const { return m_blocks.entry; }

    // IAssemblyContext
    int GetPass() const override { return m_nPass; }
    bool LookupLabel(std::string_view name, WORD& value) const override;
    int AddLiteral(std::string_view text, WORD instructionAddress, WORD& address) override;
    CBlockCounts& GetBlockCounts() override { return m_blocks; }

private:
    template <class Lines>
    bool RunPasses(const Lines& lines);
    void AddError(std::string_view line, int error) { m_errors.Add(m_nLine, std::string(line), error); }

    CLabelBank m_labels;
    CLiteralBank m_literals;
    int m_nPass = 1;
    CBlockCounts m_blocks;
    CAssembleErrorArray m_errors;
    WORD m_wAddress = kOrigin;
    int m_nLine = 0;
    CMnemonicArray m_program;
    bool m_bKeepStatements = true;  // false while a first try of pass 1 runs (see RunPasses)
};

// Cuts a source text into lines at CR LF or LF; the text after the last line end
// is a line only when it is not empty.
std::vector<std::string> SplitSourceLines(std::string_view text);
// The same lines as views into text.
std::vector<std::string_view> SplitSourceLineViews(std::string_view text);
