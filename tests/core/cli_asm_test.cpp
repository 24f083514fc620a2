// zelkora-cli asm: output formats, exit statuses, standard output and standard error.
#include <gtest/gtest.h>
#include "temp_folder.h"

#include <sys/wait.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

struct CliResult {
    int status = -1;
    std::string out, err;
};

class CliAsm : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE((m_dir = m_folder.Path()).empty()); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::filesystem::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    static std::string Read(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Runs zelkora-cli with the arguments (quoted for the shell by the caller).
    CliResult Run(const std::string& arguments)
    {
        const std::filesystem::path out = m_dir / "stdout", err = m_dir / "stderr";
        const std::string command = std::string("'") + ZELKORA_CLI + "' " + arguments + " >'" + out.string() +
                                    "' 2>'" + err.string() + "' </dev/null";
        const int raw = std::system(command.c_str());
        CliResult result;
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        result.out = Read(out);
        result.err = Read(err);
        return result;
    }

    CTempFolder m_folder;
    std::filesystem::path m_dir;
};

std::string Quote(const std::string& path)
{
    return std::string("'").append(path).append("'");
}

std::string Join(const char* first, const std::string& second)
{
    return std::string(first).append(" ").append(second);
}

const char kProgram[] =
    "ZETA START\r\n"
    "B1   LD GR1,=5\r\n"
    "     ADDA GR1,B\r\n"
    "     RET\r\n"
    "B    DC 'A',-1\r\n"
    "ALPHA DS 1\r\n"
    "     END\r\n";

TEST_F(CliAsm, ImageIsStatementsThenPool)
{
    const CliResult r = Run("asm --image '" + Write("p.asm", kProgram) + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "0100 101F\n0101 0108\n0102 201F\n0103 0105\n0104 8100\n0105 0041\n0106 FFFF\n"
              "0108 0005\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(CliAsm, LabelsAreSortedByNameBytesWithHiddenLiteralLabels)
{
    const CliResult r = Run("asm --labels '" + Write("p.asm", kProgram) + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "ALPHA 0107\nB 0105\nB1 0100\nZETA 0100\n__0100__ 0108\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(CliAsm, ListingShowsEveryStatement)
{
    const CliResult r = Run("asm '" + Write("p.asm", kProgram) + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    for (const char* text : {"B1   LD GR1,=5", "ADDA GR1,B", "ALPHA DS 1", "101F", "201F", "0041", "FFFF"})
        EXPECT_NE(r.out.find(text), std::string::npos) << text << "\n" << r.out;
}

TEST_F(CliAsm, ListingShowsSourceTextInUtf8)
{
    // A comment in code page 932: "コメント".
    const CliResult r = Run("asm '" + Write("c.asm", "PGM START\n NOP ; \x83\x52\x83\x81\x83\x93\x83\x67\n END\n") + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find(" NOP ; コメント\n"), std::string::npos) << r.out;
}

TEST_F(CliAsm, LineEndsDoNotChangeTheProgram)
{
    std::string lf = kProgram, mixed = kProgram, noFinal = kProgram;
    for (size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
    mixed.erase(mixed.find("\r\n"), 1);
    noFinal.resize(noFinal.size() - 2);
    const CliResult expected = Run("asm --image '" + Write("crlf.asm", kProgram) + "'");
    for (const auto& [name, text] : {std::pair{"lf.asm", lf}, std::pair{"mixed.asm", mixed}, std::pair{"nofinal.asm", noFinal}}) {
        const CliResult r = Run(std::string("asm --image '") + Write(name, text) + "'");
        EXPECT_EQ(r.status, 0) << name;
        EXPECT_EQ(r.out, expected.out) << name;
    }
}

TEST_F(CliAsm, SourceIsCodePage932AndMessagesAreUtf8)
{
    // DC with a half-width katakana and a kanji, then an error line.
    const std::string path = Write("sjis.asm", "PGM START\n DC '\xB1\x8A\xBF'\n END\n");
    const CliResult ok = Run("asm --image '" + path + "'");
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, "0100 FFB1\n0101 FF8A\n0102 FFBF\n");

    const CliResult bad = Run("asm '" + Write("bad.asm", "PGM START\n DC ''\n") + "'");
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "ERROR #2: ｵﾍﾟﾗﾝﾄﾞに空文字が含まれています。\nERROR : END命令がありません。\n");
    EXPECT_EQ(bad.err, "2個のｱｾﾝﾌﾞﾙｴﾗｰが発生しました。\n");
}

TEST_F(CliAsm, SourcesInUtf8AssembleAsTheirCodePage932Twins)
{
    // DC 'ﾏｲﾅｽ' ; 定数: in code page 932, in UTF-8, in UTF-8 with a byte order mark.
    const std::string sjis = "PGM START\r\n DC '\xCF\xB2\xC5\xBD' ; \x92\xE8\x90\x94\r\n END\r\n";
    const std::string utf8 =
        "PGM START\n DC '\xEF\xBE\x8F\xEF\xBD\xB2\xEF\xBE\x85\xEF\xBD\xBD' ; \xE5\xAE\x9A\xE6\x95\xB0\n END\n";
    const std::string words = "0100 FFCF\n0101 FFB2\n0102 FFC5\n0103 FFBD\n";
    for (const auto& [name, text] :
         {std::pair{"sjis.asm", sjis}, std::pair{"utf8.asm", utf8}, std::pair{"bom.asm", "\xEF\xBB\xBF" + utf8}}) {
        const CliResult r = Run(std::string("asm --image '") + Write(name, text) + "'");
        EXPECT_EQ(r.status, 0) << name << r.err;
        EXPECT_EQ(r.out, words) << name;
        // The listing shows the comment as written.
        EXPECT_NE(Run(std::string("asm '") + Write(name, text) + "'").out.find("; 定数"), std::string::npos) << name;
    }
}

TEST_F(CliAsm, ErrorsGoToStandardOutputWithStatus1)
{
    const std::string path = Write("e.asm", "PGM START\r\n LD GR8,1\r\n\r\n LD GR1,NOWHERE\r\n END\r\n");
    for (const char* options : {"", "--image ", "--labels ", "--image --labels "}) {
        const CliResult r = Run(std::string("asm ") + options + "'" + path + "'");
        EXPECT_EQ(r.status, 1) << options;
        EXPECT_EQ(r.out, "ERROR #2: ｵﾍﾟﾗﾝﾄﾞ第1ﾊﾟﾗﾒｰﾀの記述に誤りがあります。\nERROR #3: 空の行です。\n") << options;
        EXPECT_EQ(r.err, "2個のｱｾﾝﾌﾞﾙｴﾗｰが発生しました。\n") << options;
    }
    const CliResult empty = Run("asm '" + Write("empty.asm", "") + "'");
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.out, "ERROR : START命令がありません。\n");
    EXPECT_EQ(empty.err, "1個のｱｾﾝﾌﾞﾙｴﾗｰが発生しました。\n");
}

TEST_F(CliAsm, UnreadableSourceIs66)
{
    for (const std::string& path : {(m_dir / "missing.asm").string(), m_dir.string()}) {
        const CliResult r = Run("asm '" + path + "'");
        EXPECT_EQ(r.status, 66) << path;
        EXPECT_EQ(r.out, "") << path;
        EXPECT_NE(r.err, "") << path;
    }
}

TEST_F(CliAsm, WrongArgumentsAre64)
{
    const std::string path = Quote(Write("p.asm", kProgram));
    for (const std::string& arguments : {std::string(), std::string("asm"), Join("assemble", path),
                                         Join("asm --bogus", path), Join("asm", path + " " + path), Join("asm -x", path),
                                         std::string("asm --image"), Join("ASM", path)}) {
        const CliResult r = Run(arguments);
        EXPECT_EQ(r.status, 64) << arguments;
        EXPECT_EQ(r.out, "") << arguments;
        EXPECT_NE(r.err, "") << arguments;
    }
}

}  // namespace

TEST_F(CliAsm, AStandardOutputThatCannotBeWrittenGivesStatus74)
{
    const std::string command = std::string("'") + ZELKORA_CLI + "' asm --image '" + Write("p.asm", kProgram) +
                                "' >/dev/full 2>'" + (m_dir / "err").string() + "'";
    const int raw = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 74);
    EXPECT_NE(Read(m_dir / "err").find("cannot write standard output"), std::string::npos);
}
