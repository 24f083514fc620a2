// Arbitrary input must never stop the assembler: every source gives a program or errors.
#include <gtest/gtest.h>

#include "assemble_lines.h"

#include <random>
#include "assembler/assembler.h"
#include "assembly_invariants.h"

namespace {
std::string ErrorTexts(const CAssembler& assembler)
{
    std::string text;
    for (const auto& error : assembler.GetErrors()) text += error->GetText() + "\n";
    return text;
}

const char kValidSource[] =
    "; sample\r\n"
    "MAIN  START BEGIN\r\n"
    "BEGIN LD    GR1,=5\r\n"
    "      LAD   GR2,BUF,GR1\r\n"
    "      ADDA  GR1,GR2\r\n"
    "      CPL   GR1,='A'\r\n"
    "      JZE   DONE\r\n"
    "      IN    BUF,LEN\r\n"
    "      OUT   BUF,LEN\r\n"
    "      RPUSH\r\n"
    "      CALL  SUB\r\n"
    "      RPOP\r\n"
    "DONE  RET\r\n"
    "BUF   DS    256\r\n"
    "LEN   DC    #0010,'A,B;C',-1\r\n"
    "      END\r\n"
    "SUB   START\r\n"
    "      PUSH  0,GR1\r\n"
    "      SVC   2\r\n"
    "      POP   GR1\r\n"
    "      RET\r\n"
    "      END\r\n";

// Assembles the text; checks what holds for any input: at most one error per line, in
// line order, and a successful program loads.
void AssembleAnything(std::string_view text)
{
    const std::vector<std::string> lines = SplitSourceLines(text);
    CAssembler assembler;
    const bool ok = assembler.AssembleSource(text);
    ASSERT_EQ(CheckAssemblyInvariants(assembler, text, ok), "");

    // Pass 1 finds every error but undefined labels and bad literals; pass 2 finds only
    // those, and gives every statement the address it had in pass 1.
    CAssembler passes;
    passes.BeginPass(1);
    for (const std::string& line : lines) passes.AssembleLine(line);
    for (const auto& error : passes.GetErrors()) {
        const int number = error->GetErrorNumber();
        ASSERT_TRUE(number != 2006 && number != 2022 && number != 2025) << number;
    }
    if (!passes.HasErrors()) {
        std::vector<WORD> addresses;
        for (const auto& statement : passes.GetProgram()) addresses.push_back(statement->GetAddress());
        passes.BeginPass(2);
        for (const std::string& line : lines) passes.AssembleLine(line);
        for (const auto& error : passes.GetErrors()) {
            const int number = error->GetErrorNumber();
            ASSERT_TRUE(number == 2006 || number == 2017 || number == 2018 || number == 2022 || number == 2025)
                << number;
        }
        if (!passes.HasErrors()) {
            ASSERT_EQ(passes.GetProgram().GetSize(), addresses.size());
            for (size_t i = 0; i < addresses.size(); ++i) ASSERT_EQ(passes.GetProgram()[i]->GetAddress(), addresses[i]);
        }
    }

    // The same lines with LF line ends give the same result.
    CAssembler lf;
    ASSERT_EQ(AssembleLines(lf, lines), ok);
    ASSERT_EQ(ErrorTexts(lf), ErrorTexts(assembler));
    ASSERT_EQ(lf.GetProgram().GetSize(), assembler.GetProgram().GetSize());
    ASSERT_EQ(lf.GetLabels().GetCount(), assembler.GetLabels().GetCount());
}

TEST(Robustness, ValidSourceAssembles)
{
    CAssembler assembler;
    EXPECT_TRUE(AssembleLines(assembler, SplitSourceLines(kValidSource)));
}

TEST(Robustness, RandomBytes)
{
    std::mt19937 random(20240601);
    for (int i = 0; i < 2000; ++i) {
        std::string text(random() % 2000, '\0');
        for (char& c : text) c = static_cast<char>(random());
        AssembleAnything(text);
    }
}

TEST(Robustness, RandomSyntaxCharacters)
{
    // Bytes that mean something to the assembler, so that the random lines get far into it.
    const std::string alphabet = "  \t\t,,''';=#-+0179AFGRXZ_\r\n\nSTARTENDDCDSLDGR1GR0JUMPINOUT\x81\xB1";
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        std::string text(random() % 600, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        AssembleAnything(" START\n" + text + "\n END\n");
    }
}

TEST(Robustness, MutatedValidSources)
{
    const std::string valid = kValidSource;
    const std::string inserts[] = {std::string(1, '\0'), "\r", "\n", "'", ";", ",", "=", "#", "\t", "\xFF", "\x81",
                                   "GR8", "=''", " START", " END", "LABELLONG "};
    std::mt19937 random(12345);
    for (int i = 0; i < 5000; ++i) {
        std::string text = valid;
        for (int edits = 1 + random() % 4; edits > 0; --edits) {
            const size_t at = random() % (text.size() + 1);
            switch (random() % 4) {
            case 0: text.insert(at, inserts[random() % std::size(inserts)]); break;
            case 1: if (at < text.size()) text.erase(at, 1 + random() % 8); break;
            case 2: if (at < text.size()) text[at] = static_cast<char>(random()); break;
            case 3: text.insert(at, text.substr(random() % text.size(), random() % 40)); break;
            }
        }
        AssembleAnything(text);
    }
}

TEST(Robustness, LineEndsAndControlBytes)
{
    std::string lf = kValidSource, cr = kValidSource, nul = kValidSource;
    for (size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
    for (char& c : cr)
        if (c == '\n') c = '\r';
    for (char& c : nul)
        if (c == ' ') c = '\0';
    for (const std::string& text : {lf, cr, nul, lf.substr(0, lf.size() - 1), std::string(kValidSource) + "\r\n\r\n",
                                    std::string(1000, '\r'), std::string(1000, '\n'), std::string(1000, '\0'),
                                    std::string(1000, '\'')})
        AssembleAnything(text);

    CAssembler assembler;
    EXPECT_TRUE(AssembleLines(assembler, SplitSourceLines(lf)));
}

TEST(Robustness, LongLines)
{
    const std::string big(100000, 'A');
    const std::string digits(100000, '9');
    std::string manyTokens = " DC 1";
    while (manyTokens.size() < 100000) manyTokens += ",1";
    for (const std::string& line : {big, " " + big, big + " NOP", " NOP " + big, " LD GR1," + big,
                                    " LD GR1," + digits, " DC '" + big + "'", " DC '" + big, " DS " + digits,
                                    " LD GR1,='" + big + "'", manyTokens, " ; " + big, " " + std::string(100000, ',')}) {
        AssembleAnything(" START\n" + line + "\n RET\n END\n");
        AssembleAnything(line);
    }
    // A constant list that fills memory more than once still assembles.
    CAssembler assembler;
    EXPECT_TRUE(AssembleLines(assembler, {" START", manyTokens, manyTokens, " LD GR1,=1", " END"}));
}

TEST(Robustness, ManyLines)
{
    std::string text = "PGM START\r\n";
    for (int i = 0; i < 200000; ++i) {
        switch (i % 4) {
        case 0: text += " LD GR1,=1\r\n"; break;
        case 1: text += " ADDA GR1,GR2\r\n"; break;
        case 2: text += "; comment\r\n"; break;
        case 3: text += " DC 'AB'\r\n"; break;
        }
    }
    text += " END\r\n";
    CAssembler assembler;
    EXPECT_TRUE(AssembleLines(assembler, SplitSourceLines(text)));
    EXPECT_EQ(assembler.GetProgram().GetSize(), 200002u);

    const std::string emptyLines(200000, '\n');
    AssembleAnything("PGM START\n" + emptyLines);
}

}  // namespace
