// The IN and OUT devices: key input, input file, output file, the device log
// and its lines sent to the views.
#include "file_bytes.h"
#include <gtest/gtest.h>
#include "temp_folder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>
#include "recording_host.h"
#include "resources/message_ids.h"
#include "known_text.h"
#include "text/codepage.h"

namespace {
namespace fs = std::filesystem;

// #0100 IN BUF,LEN   #010C RET
const char* const kReadOne =
    "MAIN\tSTART\n"
    "\tIN\tBUF,LEN\n"
    "\tRET\n"
    "BUF\tDS\t100\n"
    "LEN\tDS\t1\n"
    "\tEND\n";

// #0100 OUT L1,N   #010C OUT L2,N   #0118 RET
const char* const kWriteTwo =
    "MAIN\tSTART\n"
    "\tOUT\tL1,N\n"
    "\tOUT\tL2,N\n"
    "\tRET\n"
    "L1\tDC\t'AB'\n"
    "L2\tDC\t'CD'\n"
    "N\tDC\t2\n"
    "\tEND\n";

// Reads lines until the end of input.
const char* const kReadAll =
    "MAIN\tSTART\n"
    "LOOP\tIN\tBUF,LEN\n"
    "\tLD\tGR1,LEN\n"
    "\tJPL\tLOOP\n"
    "\tJZE\tLOOP\n"
    "\tRET\n"
    "BUF\tDS\t80\n"
    "LEN\tDS\t1\n"
    "\tEND\n";

class Devices : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE((dir = folder.Path()).empty()); }

    void Load(const char* source) { ASSERT_TRUE(t.Load(source)); }
    void UseInputFile(const fs::path& path)
    {
        t.host.settings.inDeviceType = 1;
        t.host.settings.inFileName = path.string();
    }
    void UseOutputFile(const fs::path& path)
    {
        t.host.settings.outDeviceType = 1;
        t.host.settings.outFileName = path.string();
    }

    // Traces the IN at #0100 once more (each is a run of its own) and gives the
    // stored length and text.
    std::pair<WORD, std::string> ReadOnce()
    {
        t.Reg()[REG_PR] = 0x0100;
        EXPECT_TRUE(t.doc.Run(RUN_TRACE));
        const WORD len = t.Mem().GetWord(t.Label("LEN"));
        std::string text;
        for (WORD i = 0; len != 0xFFFF && i < len; ++i)
            text.push_back(static_cast<char>(t.Mem().GetWord(static_cast<WORD>(t.Label("BUF") + i))));
        return {len, text};
    }
    std::vector<std::string> Log() const
    {
        return std::vector<std::string>(t.doc.GetDeviceLog().begin(), t.doc.GetDeviceLog().end());
    }

    CTempFolder folder;
    fs::path dir;
    CTestDocument t;
};

using Read = std::pair<WORD, std::string>;

TEST_F(Devices, KeyInputLinesAndEndOfInputAreLoggedAndSentAtOnce)
{
    Load(kReadOne);
    t.host.keyLines = {std::string("HELLO"), std::string(), std::nullopt};
    EXPECT_EQ(ReadOnce(), (Read{5, "HELLO"}));
    EXPECT_EQ(ReadOnce(), (Read{0, ""}));
    EXPECT_EQ(ReadOnce(), (Read{0xFFFF, ""}));
    EXPECT_EQ(ReadOnce(), (Read{0xFFFF, ""}));  // nothing left: the EOF button
    const std::vector<std::string> lines = {"INPUT  : HELLO", "INPUT  : ", "INPUT  : <EOF>", "INPUT  : <EOF>"};
    EXPECT_EQ(Log(), lines);
    EXPECT_EQ(t.view.DeviceLines(), lines);
    // Each line reaches the views during the run, before the run's 512.
    EXPECT_EQ(t.view.Codes()[0], HINT_DEVICE_OUTPUT);
    EXPECT_EQ(t.view.Codes()[1], HINT_MACHINE_STATE);
    EXPECT_EQ(t.host.keyDialogs, 4);
    EXPECT_TRUE(t.host.messages.empty());
}

TEST_F(Devices, LongKeyLineIsLoggedWholeButStoredUpTo80Bytes)
{
    Load(kReadOne);
    const std::string line(100, 'x');
    t.host.keyLines = {line};
    EXPECT_EQ(ReadOnce(), (Read{80, std::string(80, 'x')}));
    EXPECT_EQ(Log(), std::vector<std::string>{"INPUT  : " + line});
}

TEST_F(Devices, InputFileGivesItsLinesThenEndOfInputForever)
{
    const fs::path in = dir / "in.txt";
    WriteBytes(in, "one\r\n\r\ntwo\nthree");
    Load(kReadOne);
    UseInputFile(in);
    EXPECT_EQ(ReadOnce(), (Read{3, "one"}));
    EXPECT_EQ(ReadOnce(), (Read{0, ""}));
    EXPECT_EQ(ReadOnce(), (Read{3, "two"}));
    EXPECT_EQ(ReadOnce(), (Read{5, "three"}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ReadOnce(), (Read{0xFFFF, ""}));
    EXPECT_EQ(Log(), (std::vector<std::string>{"INPUT  : one", "INPUT  : ", "INPUT  : two", "INPUT  : three",
                                               "INPUT  : <EOF>", "INPUT  : <EOF>", "INPUT  : <EOF>"}));
    EXPECT_EQ(t.host.keyDialogs, 0);
    EXPECT_TRUE(t.host.messages.empty());
}

TEST_F(Devices, InputFileIsReadFromItsFirstLineAfterReset)
{
    const fs::path in = dir / "in.txt";
    WriteBytes(in, "one\ntwo\n");
    Load(kReadOne);
    UseInputFile(in);
    EXPECT_EQ(ReadOnce(), (Read{3, "one"}));
    EXPECT_EQ(ReadOnce(), (Read{3, "two"}));
    t.doc.ResetMachine();
    EXPECT_EQ(ReadOnce(), (Read{3, "one"}));
}

TEST_F(Devices, InputFileIsClosedAtTheNormalEnd)
{
    const fs::path in = dir / "in.txt";
    WriteBytes(in, "one\ntwo\n");
    Load(kReadOne);
    UseInputFile(in);
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    ASSERT_EQ(t.Reg()[REG_PR], 0x0000);
    // Without a reset: the next IN opens the file again.
    EXPECT_EQ(ReadOnce(), (Read{3, "one"}));
}

TEST_F(Devices, InputFileLinesInUtf8AreConvertedOthersKept)
{
    const fs::path in = dir / "in.txt";
    WriteBytes(in, "\xE3\x81\x82\n\x82\xA0\xB1\n");  // "あ" in UTF-8, then "あｱ" in code page 932
    Load(kReadOne);
    UseInputFile(in);
    EXPECT_EQ(ReadOnce(), (Read{2, "\x82\xA0"}));
    EXPECT_EQ(t.Mem().GetWord(t.Label("BUF")), 0xFF82);
    EXPECT_EQ(ReadOnce(), (Read{3, "\x82\xA0\xB1"}));
    EXPECT_EQ(Log(), (std::vector<std::string>{"INPUT  : \x82\xA0", "INPUT  : \x82\xA0\xB1"}));
}

TEST_F(Devices, EachInputLineIsReadInTheEncodingItWasWrittenIn)
{
    // One line per known text, in either encoding, with either line end; the BOM of a first line is no text.
    std::string file = "\xEF\xBB\xBF\xE3\x81\xAE\r\n";
    std::vector<std::string> expected = {"\x82\xCC"};
    for (const CKnownText& k : KnownTexts()) {
        file += k.bytes + (k.utf8 ? "\n" : "\r\n");
        expected.push_back(k.cp932);
    }
    const fs::path in = dir / "in.txt";
    WriteBytes(in, file);
    Load(kReadAll);
    UseInputFile(in);
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    std::vector<std::string> read;
    for (const std::string& line : Log()) read.push_back(line.substr(9));
    expected.push_back("<EOF>");
    EXPECT_EQ(read, expected);
}

TEST_F(Devices, MissingInputFileShows1008AtEveryIn)
{
    const fs::path in = dir / "missing.txt";
    Load(kReadOne);
    UseInputFile(in);
    t.host.settings.inDeviceType = 2;  // any type but 0 is a file
    for (int i = 0; i < 2; ++i) EXPECT_EQ(ReadOnce(), (Read{0xFFFF, ""}));
    ASSERT_EQ(t.host.MessageIds(), (std::vector<int>{MSG_IN_FILE_OPEN, MSG_IN_FILE_OPEN}));
    EXPECT_EQ(t.host.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(t.host.messages[0].text, "IN命令入力ﾌｧｲﾙ( " + in.string() + " )のｵｰﾌﾟﾝに失敗しました。");
    EXPECT_EQ(Log(), (std::vector<std::string>{"INPUT  : <EOF>", "INPUT  : <EOF>"}));

    // Once the file exists the next IN reads it.
    WriteBytes(in, "late\n");
    EXPECT_EQ(ReadOnce(), (Read{4, "late"}));
}

TEST_F(Devices, UnreadableInputFileShows1009AndGivesEndOfInput)
{
    // A directory opens but cannot be read.
    Load(kReadOne);
    UseInputFile(dir);
    EXPECT_EQ(ReadOnce(), (Read{0xFFFF, ""}));
    ASSERT_EQ(t.host.MessageIds(), std::vector<int>{MSG_IN_FILE_READ});
    EXPECT_EQ(t.host.messages[0].text, "IN命令入力ﾌｧｲﾙ( " + dir.string() + " )からの読み込みに失敗しました。");
    EXPECT_EQ(Log(), std::vector<std::string>{"INPUT  : <EOF>"});
}

TEST_F(Devices, OutputFileHoldsTheLinesOfTheLastRunOnly)
{
    const fs::path out = dir / "out.txt";
    WriteBytes(out, "old content\r\n");
    Load(kWriteTwo);
    UseOutputFile(out);
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(ReadBytes(out), "AB\r\nCD\r\n");
    EXPECT_EQ(Log(), (std::vector<std::string>{"OUTPUT : AB", "OUTPUT : CD"}));

    // After a restart the file is created afresh; what a stopped run wrote is in
    // the file when the run returns.
    t.doc.ResetMachine();
    t.At(0x010C)->SetBreakpoint(true);
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    ASSERT_EQ(t.Reg()[REG_PR], 0x010C);
    EXPECT_EQ(ReadBytes(out), "AB\r\n");
    EXPECT_TRUE(t.host.messages.size() == 1 && t.host.messages[0].id == MSG_PROGRAM_END);
}

TEST_F(Devices, OutputFileStaysOpenAcrossStoppedRuns)
{
    const fs::path out = dir / "out.txt";
    Load(kWriteTwo);
    UseOutputFile(out);
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(ReadBytes(out), "AB\r\n");
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(ReadBytes(out), "AB\r\nCD\r\n");
}

TEST_F(Devices, OutputDeviceTypeIsReadAtEveryOut)
{
    const fs::path out = dir / "out.txt";
    Load(kWriteTwo);
    t.host.settings.outFileName = out.string();
    t.host.settings.outDeviceType = 2;  // only 1 means a file
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_FALSE(fs::exists(out));
    t.host.settings.outDeviceType = 1;
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(ReadBytes(out), "CD\r\n");
    EXPECT_EQ(Log(), (std::vector<std::string>{"OUTPUT : AB", "OUTPUT : CD"}));
}

TEST_F(Devices, UncreatableOutputFileShows1007AtEveryOutAndScreenStillGetsLines)
{
    const fs::path out = dir / "no-such-dir" / "out.txt";
    Load(kWriteTwo);
    UseOutputFile(out);
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    const std::string text = "OUT命令出力ﾌｧｲﾙ( " + out.string() + " )の作成に失敗しました。";
    ASSERT_EQ(t.host.MessageIds(), (std::vector<int>{MSG_OUT_FILE_CREATE, MSG_OUT_FILE_CREATE, MSG_PROGRAM_END}));
    EXPECT_EQ(t.host.messages[0].text, text);
    EXPECT_EQ(t.host.messages[1].icon, MessageIcon::Warning);
    EXPECT_EQ(t.view.DeviceLines(), (std::vector<std::string>{"OUTPUT : AB", "OUTPUT : CD"}));
}

TEST_F(Devices, FailedWriteShows1010AlsoWhenTheProgramEnds)
{
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    Load(kWriteTwo);
    UseOutputFile("/dev/full");
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    EXPECT_EQ(t.host.CountMessages(MSG_OUT_FILE_WRITE), 1);
    EXPECT_EQ(t.host.messages[0].text, "OUT命令出力ﾌｧｲﾙ( /dev/full )への書き込みに失敗しました。");
    EXPECT_EQ(t.view.DeviceLines(), (std::vector<std::string>{"OUTPUT : AB", "OUTPUT : CD"}));

    // The same when a run stops before the end.
    t.host.Forget();
    t.doc.ResetMachine();
    EXPECT_TRUE(t.doc.Run(RUN_TRACE));
    EXPECT_EQ(t.host.MessageIds(), std::vector<int>{MSG_OUT_FILE_WRITE});
}

TEST_F(Devices, SvcLineGoesToTheOutputFileLikeOut)
{
    const fs::path out = dir / "out.txt";
    Load("MAIN\tSTART\n\tSVC\t5\n\tRET\n\tEND\n");
    UseOutputFile(out);
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    const std::string line = Utf8ToCp932("ｽｰﾊﾞｰﾊﾞｲｻﾞｺｰﾙ 5");
    EXPECT_EQ(ReadBytes(out), line + "\r\n");
    EXPECT_EQ(Log(), std::vector<std::string>{"OUTPUT : " + line});
}

TEST_F(Devices, DeviceLogKeepsTheNewest1000Lines)
{
    Load(kReadAll);
    for (int i = 1; i <= 1005; ++i) t.host.keyLines.push_back(std::string("L").append(std::to_string(i)));
    EXPECT_TRUE(t.doc.Run(RUN_GO));
    ASSERT_EQ(t.Reg()[REG_PR], 0x0000);
    EXPECT_EQ(t.view.Count(HINT_DEVICE_OUTPUT), 1006);
    ASSERT_EQ(t.doc.GetDeviceLog().size(), 1000u);
    EXPECT_EQ(t.doc.GetDeviceLog().front(), "INPUT  : L7");
    EXPECT_EQ(t.doc.GetDeviceLog().back(), "INPUT  : <EOF>");
}
}  // namespace
