#include "cli/assemble_file.h"

#include "cli/cli_util.h"
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "text/text_encoding.h"

int AssembleFile(const std::string& path, CAssembler& assembler, std::FILE* errorStream)
{
    std::string source, reason;
    if (!ReadFileBytes(path, source, reason)) {
        std::fprintf(stderr, "zelkora-cli: cannot read %s: %s\n", path.c_str(), reason.c_str());
        return EXIT_NO_INPUT;
    }
    // A UTF-8 source assembles to the same words as its code page 932 twin.
    if (assembler.AssembleSource(TextToCp932(source))) return 0;

    COutputBuffer out(errorStream);
    for (const auto& error : assembler.GetErrors()) {
        out.Append(error->GetText());
        out.Append("\n");
    }
    const int status = errorStream == stdout ? FinishOutput(out, 1) : (out.Flush(), 1);
    std::fprintf(stderr, "%s\n",
                 FormatMessage(MSG_ASSEMBLE_ERRORS, static_cast<int>(assembler.GetErrors().GetSize())).c_str());
    return status;
}
