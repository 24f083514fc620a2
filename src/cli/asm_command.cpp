// zelkora-cli asm [--image] [--labels] FILE.asm
#include <algorithm>
#include <cstring>
#include <vector>
#include "cli/assemble_file.h"
#include "cli/cli_util.h"
#include "cli/commands.h"
#include "machine/hex.h"
#include "text/codepage.h"

namespace {
// "AAAA WWWW" lines; an image has a line for every word, so each is made in one piece.
void PrintWords(COutputBuffer& out, WORD address, std::span<const WORD> words)
{
    char line[10];
    line[4] = ' ';
    line[9] = '\n';
    for (WORD w : words) {
        PutHex4(line, address++);
        PutHex4(line + 5, w);
        out.Append(std::string_view(line, sizeof line));
    }
}

void PrintImage(const CAssembler& assembler, COutputBuffer& out)
{
    for (const auto& statement : assembler.GetProgram())
        PrintWords(out, statement->GetAddress(), statement->GetImage());
    for (const auto& literal : assembler.GetLiterals().GetLiterals())
        PrintWords(out, literal->GetAddress(), literal->GetWords());
}

void PrintLabels(const CAssembler& assembler, COutputBuffer& out)
{
    std::vector<const CLabel*> labels;
    for (const CLabel& label : assembler.GetLabels()) labels.push_back(&label);
    std::sort(labels.begin(), labels.end(),
              [](const CLabel* a, const CLabel* b) { return a->GetName() < b->GetName(); });
    for (const CLabel* label : labels) {
        out.Append(label->GetName());
        out.Append(" ");
        out.AppendHex4(label->GetValue());
        out.Append("\n");
    }
}

// Address, up to three words, and the source line; longer statements continue
// with four words a line.
void PrintListing(const CAssembler& assembler, COutputBuffer& out)
{
    constexpr size_t kFirstRow = 3, kNextRows = 4;
    for (const auto& statement : assembler.GetProgram()) {
        const std::span<const WORD> words = statement->GetImage();
        WORD address = statement->GetAddress();
        out.AppendHex4(address);
        for (size_t i = 0; i < kFirstRow; ++i) {
            out.Append(" ");
            if (i < words.size())
                out.AppendHex4(words[i]);
            else
                out.Append("    ");
        }
        out.Append("  ");
        out.AppendCp932(statement->GetExpandedSource());  // UTF-8, like all other output
        out.Append("\n");
        for (size_t i = kFirstRow; i < words.size(); i += kNextRows) {
            out.AppendHex4(static_cast<WORD>(address + i));
            for (size_t k = i; k < std::min(words.size(), i + kNextRows); ++k) {
                out.Append(" ");
                out.AppendHex4(words[k]);
            }
            out.Append("\n");
        }
    }
    for (const auto& literal : assembler.GetLiterals().GetLiterals()) {
        out.AppendHex4(literal->GetAddress());
        for (WORD w : literal->GetWords()) {
            out.Append(" ");
            out.AppendHex4(w);
        }
        out.Append("  ; literal\n");
    }
}
}  // namespace

int AsmCommand(int argc, char** argv)
{
    bool image = false, labels = false;
    const char* path = nullptr;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--image") == 0)
            image = true;
        else if (std::strcmp(argv[i], "--labels") == 0)
            labels = true;
        else if (argv[i][0] == '-' && argv[i][1] != '\0')
            return UsageError("unknown option for asm");
        else if (path)
            return UsageError("more than one source file given");
        else
            path = argv[i];
    }
    if (!path) return UsageError("no source file given");

    CAssembler assembler;
    if (const int status = AssembleFile(path, assembler, stdout)) return status;

    COutputBuffer out(stdout);
    if (image) PrintImage(assembler, out);
    if (labels) PrintLabels(assembler, out);
    if (!image && !labels) PrintListing(assembler, out);
    return FinishOutput(out, 0);
}
