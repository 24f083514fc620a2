#include "cli/cli_util.h"
#include "cli/commands.h"

int RunCommand(int, char**)
{
    return UsageError("run is not available yet");
}
