#include <gtest/gtest.h>
#include "assembler/assembler.h"

TEST(Smoke, AssemblesHello)
{
    CAssembler a;
    EXPECT_TRUE(a.AssembleLines({"MAIN START", " LD GR1,DATA", " RET", "DATA DC 5", " END"}));
}
