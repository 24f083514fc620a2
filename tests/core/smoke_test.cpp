#include <gtest/gtest.h>

#include "assemble_lines.h"
#include "assembler/assembler.h"

TEST(Smoke, AssemblesHello)
{
    CAssembler a;
    EXPECT_TRUE(AssembleLines(a, {"MAIN START", " LD GR1,DATA", " RET", "DATA DC 5", " END"}));
}
