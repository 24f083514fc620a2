// The assembler driver: the program list, statements, passes and reuse.
#include <gtest/gtest.h>
#include <algorithm>

#include "assemble_lines.h"

#include "assembler/assembler.h"
#include "assembler/error_numbers.h"
#include "assembler/mnemonic_classes.h"

namespace {

using Lines = std::vector<std::string>;

template <class T>
int CountOf(const CMnemonicArray& program)
{
    int n = 0;
    for (const auto& statement : program) n += dynamic_cast<const T*>(statement.get()) != nullptr;
    return n;
}

TEST(Assembler, CommentsEndAtTheFirstSemicolonOutsideQuotes)
{
    struct Case {
        const char* line;
        const char* operation;  // empty: a comment line
        const char* operand;
    };
    for (const Case& c : {Case{"; all", "", ""}, Case{"  ;", "", ""}, Case{" NOP ; x", "NOP", ""},
                          Case{" NOP;x;y", "NOP", ""}, Case{" DC ';'", "DC", "';'"}, Case{" DC ';' ; c", "DC", "';'"},
                          Case{" DC 'A','B';c", "DC", "'A','B'"}, Case{" NOP \t\r\v\f", "NOP", ""},
                          Case{"\t NOP", "NOP", ""}, Case{" DC ' ' ", "DC", "' '"}}) {
        CAssembler assembler;
        assembler.BeginPass(1);
        assembler.AssembleLine(c.line);
        ASSERT_EQ(assembler.GetProgram().GetSize(), 1u) << c.line;
        const CMnemonic* statement = assembler.GetProgram()[0];
        EXPECT_EQ(statement->GetOperation(), c.operation) << testing::PrintToString(std::string(c.line));
        EXPECT_EQ(statement->GetOperand(), c.operand) << testing::PrintToString(std::string(c.line));
        EXPECT_EQ(statement->GetSourceLine(), c.line);
    }
    // An unclosed quote hides the semicolon: the operand is the malformed string.
    CAssembler assembler;
    assembler.BeginPass(1);
    assembler.AssembleLine(" DC 'A;B");
    ASSERT_EQ(assembler.GetErrors().GetSize(), 1u);
    EXPECT_EQ(assembler.GetErrors()[0].GetErrorNumber(), ERR_CHAR_CONSTANT);
}

TEST(Assembler, ProgramListHoldsCommentsButNotFailedLines)
{
    CAssembler assembler;
    ASSERT_TRUE(AssembleLines(assembler, {"; head", "PGM START", "LOOP  LD  GR1,DATA ; load", "  ; inside",
                                         "DATA DC 1,2", " END"}));
    const CMnemonicArray& program = assembler.GetProgram();
    ASSERT_EQ(program.GetSize(), 6u);
    struct Row {
        WORD address, length;
        const char* operation;
        const char* operand;
    };
    const Row rows[] = {{0x0100, 0, "", ""},         {0x0100, 0, "START", ""}, {0x0100, 2, "LD", "GR1,DATA"},
                        {0x0102, 0, "", ""},         {0x0102, 2, "DC", "1,2"}, {0x0104, 0, "END", ""}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(program[i]->GetAddress(), rows[i].address);
        EXPECT_EQ(program[i]->GetLength(), rows[i].length);
        EXPECT_EQ(program[i]->GetOperation(), rows[i].operation);
        EXPECT_EQ(program[i]->GetOperand(), rows[i].operand);
    }
    EXPECT_EQ(program[2]->GetSourceLine(), "LOOP  LD  GR1,DATA ; load");
    EXPECT_EQ(program[3]->GetSourceLine(), "  ; inside");
    EXPECT_NE(dynamic_cast<CMnemonicComment*>(program[0]), nullptr);
    EXPECT_EQ(CountOf<CMnemonicSTART>(program), 1);
    EXPECT_EQ(CountOf<CMnemonicEND>(program), 1);
    EXPECT_EQ(assembler.GetStartAddress(), 0x0100);

    // A failed run keeps the lines that assembled in the last pass, and the tables.
    EXPECT_FALSE(AssembleLines(assembler, {"PGM START", " NOP", " FOO", "X DC 1", " LD GR1"}));
    ASSERT_EQ(program.GetSize(), 3u);
    EXPECT_EQ(program[2]->GetOperation(), "DC");
    EXPECT_EQ(program[2]->GetAddress(), 0x0101);
    ASSERT_NE(assembler.GetLabels().Lookup("X"), nullptr);
    EXPECT_EQ(assembler.GetLabels().Lookup("DATA"), nullptr);
    EXPECT_EQ(assembler.GetErrors().GetSize(), 3u);  // 2007, 2016 and the missing END
}

TEST(Assembler, ReassemblingStartsAfresh)
{
    CAssembler assembler;
    ASSERT_TRUE(AssembleLines(assembler, {"A START", " LD GR1,=1", " LD GR1,=2", " RET", " END"}));
    EXPECT_EQ(assembler.GetLiterals().GetLiterals().size(), 2u);

    ASSERT_TRUE(AssembleLines(assembler, {"B START", " NOP", " LD GR1,=3", " END"}));
    EXPECT_EQ(assembler.GetLabels().Lookup("A"), nullptr);
    EXPECT_EQ(assembler.GetLabels().Lookup("__0100__"), nullptr);
    EXPECT_EQ(assembler.GetLabels().Lookup("__0102__"), nullptr);
    const auto& literals = assembler.GetLiterals().GetLiterals();
    ASSERT_EQ(literals.size(), 1u);
    EXPECT_EQ(literals[0]->GetAddress(), 0x0103);
    ASSERT_NE(assembler.GetLabels().Lookup("__0101__"), nullptr);
    EXPECT_EQ(assembler.GetLabels().Lookup("__0101__")->GetValue(), 0x0103);
    EXPECT_EQ(assembler.GetLabels().GetCount(), 2u);
    EXPECT_TRUE(assembler.GetErrors().IsEmpty());

    // The same assembler also checks the blocks of each run anew.
    EXPECT_FALSE(AssembleLines(assembler, {}));
    EXPECT_EQ(assembler.GetErrors().GetSize(), 1u);
    EXPECT_EQ(assembler.GetProgram().GetSize(), 0u);
}

TEST(Assembler, EachOperationMakesItsClassAtTheCurrentAddress)
{
    CAssembler assembler;
    assembler.BeginPass(1);
    assembler.AssembleLine("PGM START");
    assembler.AssembleLine(" DS 5");
    assembler.AssembleLine(" RPOP");
    ASSERT_EQ(assembler.GetProgram().GetSize(), 3u);
    const CMnemonic* rpop = assembler.GetProgram()[2];
    EXPECT_NE(dynamic_cast<const CMnemonicRPOP*>(rpop), nullptr);
    EXPECT_EQ(rpop->GetAddress(), 0x0105);
    EXPECT_EQ(rpop->GetLength(), 7);
    EXPECT_TRUE(rpop->IsExecutable());
    EXPECT_FALSE(assembler.HasErrors());

    assembler.AssembleLine(" rpop");
    EXPECT_EQ(assembler.GetProgram().GetSize(), 3u);
    ASSERT_EQ(assembler.GetErrors().GetSize(), 1u);
    EXPECT_EQ(assembler.GetErrors()[0].GetErrorNumber(), 2007);
    EXPECT_EQ(assembler.GetErrors()[0].GetSourceLine(), " rpop");
}

TEST(Assembler, StartRecordsItsEntry)
{
    CAssembler assembler;
    ASSERT_TRUE(AssembleLines(assembler, {"A START", " RET", " END", "B START ENTRY", " NOP", "ENTRY RET", " END"}));
    const auto* first = dynamic_cast<const CMnemonicSTART*>(assembler.GetProgram()[0]);
    const auto* second = dynamic_cast<const CMnemonicSTART*>(assembler.GetProgram()[3]);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->GetEntryAddress(), 0x0100);
    EXPECT_EQ(second->GetEntryAddress(), 0x0102);
    EXPECT_EQ(assembler.GetStartAddress(), 0x0100);
    EXPECT_EQ(CountOf<CMnemonicSTART>(assembler.GetProgram()), 2);
    EXPECT_EQ(CountOf<CMnemonicEND>(assembler.GetProgram()), 2);
}

TEST(ProgramList, FindExecutableGivesTheFirstExecutableStatementAtAnAddress)
{
    CAssembler assembler;
    // DS 65535 brings the address round to #0100 again.
    ASSERT_TRUE(AssembleLines(assembler, {"PGM START", "; note", " DS 0", " NOP", " DS 65535", " RET", "D DC 5", " END"}));
    const CMnemonicArray& program = assembler.GetProgram();
    ASSERT_EQ(program.GetSize(), 8u);
    EXPECT_EQ(program.FindExecutable(0x0100), program[3]);
    EXPECT_EQ(program[5]->GetAddress(), 0x0100);
    EXPECT_EQ(program.FindExecutable(0x0101), nullptr);  // the DC
    EXPECT_EQ(program.FindExecutable(0x0102), nullptr);
    EXPECT_EQ(std::find_if(program.begin(), program.end(), [&](const auto& s) { return s.get() == program[5]; }) -
                  program.begin(),
              5);

    for (const auto& statement : program) statement->SetBreakpoint(true);
    const_cast<CMnemonicArray&>(program).ClearBreakpoints();
    for (const auto& statement : program) EXPECT_FALSE(statement->HasBreakpoint());

    // A new program is looked up in its own statements.
    ASSERT_TRUE(AssembleLines(assembler, {"PGM START", " DC 1", " RET", " END"}));
    EXPECT_EQ(program.FindExecutable(0x0100), nullptr);
    ASSERT_NE(program.FindExecutable(0x0101), nullptr);
    EXPECT_EQ(program.FindExecutable(0x0101)->GetOperation(), "RET");
}

TEST(Statement, VerifyCodeComparesTheLoadedWords)
{
    CAssembler assembler;
    ASSERT_TRUE(AssembleLines(assembler, {"PGM START", " LD GR1,D", " RPOP", "D DC 5", " DS 1", " END"}));
    CMemory memory;
    assembler.LoadProgram(memory);
    const CMnemonicArray& program = assembler.GetProgram();
    for (const auto& statement : program) EXPECT_TRUE(statement->VerifyCode(memory)) << statement->GetSourceLine();

    memory.SetWord(0x0101, 0x0000);  // LD's address word
    memory.SetWord(0x0108, 0x0000);  // RPOP's last word
    memory.SetWord(0x0109, 0x1234);  // the DC
    EXPECT_FALSE(program[1]->VerifyCode(memory));
    EXPECT_FALSE(program[2]->VerifyCode(memory));
    EXPECT_TRUE(program[3]->VerifyCode(memory));
    EXPECT_TRUE(program[4]->VerifyCode(memory));
}

}  // namespace

TEST(Assembler, TheFirstStartsEntryIsWhereTheProgramStarts)
{
    CAssembler assembler;
    ASSERT_TRUE(AssembleLines(assembler, {"MAIN START BEGIN", "DATA DC 5", "BEGIN LD GR1,DATA", " RET", " END",
                                         "SUB START", " RET", " END"}));
    EXPECT_EQ(assembler.GetStartAddress(), 0x0101);
}
