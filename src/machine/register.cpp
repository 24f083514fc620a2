#include "machine/register.h"

namespace {
constexpr std::string_view kNames[REG_COUNT] = {"GR0", "GR1", "GR2", "GR3", "GR4", "GR5",
                                                "GR6", "GR7", "SP",  "PR",  "FR"};
}

std::string_view GetRegisterName(int index)
{
    return (index >= 0 && index < REG_COUNT) ? kNames[index] : std::string_view();
}

int FindRegisterIndex(std::string_view name)
{
    for (int i = 0; i < REG_COUNT; ++i)
        if (kNames[i] == name) return i;
    return -1;
}
