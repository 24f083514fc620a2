// zelkora-cli: assembles and runs CASL II programs without a window.
#include <cstring>
#include "cli/cli_util.h"
#include "cli/commands.h"

int main(int argc, char** argv)
{
    if (argc < 2) return UsageError("no command given");
    if (std::strcmp(argv[1], "asm") == 0) return AsmCommand(argc - 2, argv + 2);
    if (std::strcmp(argv[1], "run") == 0) return RunCommand(argc - 2, argv + 2);
    if (std::strcmp(argv[1], "test") == 0) return TestCommand(argc - 2, argv + 2);
    return UsageError("unknown command (use asm, run or test)");
}
