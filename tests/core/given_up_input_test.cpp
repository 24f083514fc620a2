// IN from a file whose line never ends or never comes: the run stays responsive, a Stop
// gives the read up, and the IN then does not happen: the machine, the history and the
// input lines read again stay as if the run had stopped before it.
#include <gtest/gtest.h>
#include "temp_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <string>
#include <vector>
#include "recording_host.h"
#include "resources/message_ids.h"

namespace {
namespace fs = std::filesystem;

// #0100 IN A,AL   #010C IN B,BL   #0118 RET
const char* const kReadTwo =
    "MAIN\tSTART\n"
    "\tIN\tA,AL\n"
    "\tIN\tB,BL\n"
    "\tRET\n"
    "A\tDS\t80\n"
    "AL\tDC\t#1234\n"
    "B\tDS\t80\n"
    "BL\tDC\t#1234\n"
    "\tEND\n";

// A named pipe in the test's folder; the test holds its writing end (or none).
class CFifo {
public:
    explicit CFifo(const fs::path& path, bool openWriter = true) : m_path(path)
    {
        if (::mkfifo(path.c_str(), 0600) != 0) return;
        // Read and write, so that opening it waits for nobody.
        if (openWriter) m_fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    }
    ~CFifo()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    CFifo(const CFifo&) = delete;
    CFifo& operator=(const CFifo&) = delete;
    void Write(const std::string& bytes) const
    {
        ASSERT_EQ(::write(m_fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
    int m_fd = -1;
};

class GivenUpInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.Path().empty());
        ASSERT_TRUE(t.Load(kReadTwo));
        t.host.settings.inDeviceType = 1;
    }
    void ReadFrom(const fs::path& path) { t.host.settings.inFileName = path.string(); }
    std::string Text(const char* buffer, const char* length)
    {
        std::string text;
        const WORD n = t.Mem().GetWord(t.Label(length));
        for (WORD i = 0; n != 0xFFFF && i < n; ++i)
            text.push_back(static_cast<char>(t.Mem().GetWord(static_cast<WORD>(t.Label(buffer) + i))));
        return text;
    }
    // Go, with a Stop at the given pump (0: none).
    void Go(int stopAtPump)
    {
        t.host.stopAtPump = stopAtPump;
        EXPECT_TRUE(t.doc.Run(RUN_GO));
    }
    // Go to the program's end, which finds the lines a and b read.
    void GoToTheEnd(const std::string& a, const std::string& b)
    {
        Go(0);
        EXPECT_EQ(t.Reg()[REG_PR], 0x0000);
        EXPECT_EQ(Text("A", "AL"), a);
        EXPECT_EQ(Text("B", "BL"), b);
    }
    std::vector<std::string> Log() const
    {
        return std::vector<std::string>(t.doc.GetDeviceLog().begin(), t.doc.GetDeviceLog().end());
    }

    CTempFolder folder;
    CTestDocument t;
};

TEST_F(GivenUpInput, StopDuringALineThatNeverEndsOrNeverComesLeavesTheInUndone)
{
    struct Case {
        const char* name;
        std::string file;    // empty: a named pipe
        bool writer;         // the pipe has a writer
        std::string before;  // written into the pipe first
    };
    const Case cases[] = {
        {"a line without end", "/dev/zero", false, ""},
        {"a pipe nobody writes to", "", true, ""},
        {"a pipe nobody has opened for writing", "", false, ""},
        {"a pipe with half a line", "", true, "half"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.doc.Restart(nullptr);
        t.host.Forget();
        const fs::path fifoPath = folder / (std::string("pipe") + std::to_string(&c - cases));
        CFifo fifo(fifoPath, c.writer);
        if (!c.before.empty()) fifo.Write(c.before);
        ReadFrom(c.file.empty() ? fifoPath : fs::path(c.file));
        t.Reg()[REG_FR] = 2;
        Go(3);
        // The read kept the window served while it waited, and the Stop ended it.
        EXPECT_GE(t.host.pumps, 3);
        EXPECT_EQ(t.host.MessageIds(), std::vector<int>{MSG_STOPPED_BY_USER});
        EXPECT_EQ(t.doc.GetCore().GetLastRunEnd(), RunEnd::UserStop);
        // Nothing of the IN happened.
        EXPECT_EQ(t.Reg()[REG_PR], 0x0100);
        EXPECT_EQ(t.Reg()[REG_FR], 2);
        EXPECT_EQ(t.Mem().GetWord(t.Label("AL")), 0x1234);
        EXPECT_TRUE(Log().empty());
        EXPECT_EQ(t.doc.GetCore().GetExecutedCount(), 0u);
        EXPECT_FALSE(t.doc.CanStepBack());
    }
}

TEST_F(GivenUpInput, TheLineGivenUpGoesOnWhereItStopped)
{
    CFifo fifo(folder / "in");
    ReadFrom(fifo.Path());
    fifo.Write("par");
    Go(2);
    EXPECT_EQ(t.Reg()[REG_PR], 0x0100);

    fifo.Write("tial\r\nnext\n");
    GoToTheEnd("partial", "next");
    EXPECT_EQ(Log(), (std::vector<std::string>{"INPUT  : partial", "INPUT  : next"}));
}

TEST_F(GivenUpInput, GoingBackAndOnAfterAGivenUpInReadsEachLineOnce)
{
    CFifo fifo(folder / "in");
    ReadFrom(fifo.Path());
    fifo.Write("one\n");
    Go(2);
    ASSERT_EQ(t.Reg()[REG_PR], 0x010C);  // the second IN waits, given up
    EXPECT_EQ(t.doc.GetCore().GetHistory().GetStepCount(), 1u);

    // Back over the first IN: its line is read again from the history, not from the pipe.
    EXPECT_EQ(t.doc.StepBack(5), 1u);
    EXPECT_EQ(t.Reg()[REG_PR], 0x0100);
    EXPECT_EQ(t.Mem().GetWord(t.Label("AL")), 0x1234);

    fifo.Write("two\n");
    GoToTheEnd("one", "two");
    EXPECT_EQ(Log(), (std::vector<std::string>{"INPUT  : one", "INPUT  : one", "INPUT  : two"}));
    // The trace table holds the statements that happened, each once.
    struct CAddresses final : CRunHistory::IStepVisitor {
        std::vector<WORD> addresses;
        bool Visit(const CRunHistory::CStepView& step) override
        {
            addresses.push_back(step.address);
            return true;
        }
    } visited;
    EXPECT_TRUE(t.doc.GetCore().VisitSteps(visited));
    EXPECT_EQ(visited.addresses, (std::vector<WORD>{0x0100, 0x010C, 0x0118}));
}
}  // namespace
