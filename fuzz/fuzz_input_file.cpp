// The file input device reads any bytes: IN lines from a file through the document, and
// the line reader on its own, against a plain model of the line rules (a line ends at LF,
// a CR before the LF is dropped, a last line without an LF is still a line, a line keeps
// at most CLineReader::kMaxLine bytes). The input also chooses lines of known text in
// either encoding, whose code page 932 bytes are written down, so that a wrong choice of
// encoding is caught.
#include <sys/mman.h>
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>
#include "input_lines.h"
#include "known_text.h"
#include "simulator/line_reader.h"
#include "simulator/zelkora_doc.h"

namespace {
void Check(bool condition)
{
    if (!condition) std::abort();
}

class CFileHost final : public IDocumentHost {
public:
    explicit CFileHost(std::string path)
    {
        m_settings.inDeviceType = 1;
        m_settings.inFileName = std::move(path);
    }
    void ShowMessage(int, MessageIcon, const std::string&) override { ++messages; }
    void Beep() override {}
    bool RunKeyInputDialog(std::string&) override { std::abort(); }
    const CDeviceSettings& GetDeviceSettings() override { return m_settings; }
    void EnterRunningState() override {}
    void LeaveRunningState() override {}
    void AdvanceRunIndicator() override {}
    void PumpMessages() override {}
    bool OpenSimulatorWindow(CZelkoraDoc&) override { return true; }
    void CloseSimulatorWindow(CZelkoraDoc&) override {}
    int messages = 0;

private:
    CDeviceSettings m_settings;
};

bool IsAscii(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Lines of known text chosen by the bytes, each of one encoding; the first may begin
// with a byte order mark. want gets what IN must store of each.
std::string KnownTextFile(std::string_view choice, std::vector<std::string>& want)
{
    const std::vector<CKnownText>& texts = KnownTexts();
    std::string file;
    for (size_t i = 0; i < choice.size() && want.size() < 64;) {
        const auto head = static_cast<unsigned char>(choice[i++]);
        const bool utf8 = head & 1;
        std::string line = want.empty() && utf8 && (head & 2) ? "\xEF\xBB\xBF" : "";
        std::string stored;
        for (unsigned n = (head >> 2) % 8; n > 0 && i < choice.size(); --n) {
            const CKnownText& k = texts[static_cast<unsigned char>(choice[i++]) % texts.size()];
            if (k.utf8 != utf8 && !IsAscii(k.bytes)) continue;  // a piece of the other encoding
            line += k.bytes;
            stored += k.cp932;
        }
        file += line + (head & 0x80 ? "\r\n" : "\n");
        want.push_back(stored);
    }
    return file;
}

const std::string& TempPath()
{
    // In memory where there is a tmpfs: rewriting a file on disk for every input is slow.
    static const std::string dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    static const std::string path = dir + "/zelkora-fuzz-input-" + std::to_string(::getpid()) + ".txt";
    static const struct CRemove {
        ~CRemove() { ::unlink(path.c_str()); }
    } remove;
    return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> expected = ModelInputLines(bytes);

    // The line reader on a stream of the bytes.
    {
        const int fd = ::memfd_create("zelkora-fuzz-lines", 0);
        Check(fd >= 0);
        Check(::write(fd, data, size) == static_cast<ssize_t>(size));
        Check(::lseek(fd, 0, SEEK_SET) == 0);
        CLineReader reader(fd);
        std::string line;
        for (const std::string& want : expected) {
            Check(reader.ReadLine(line) == CLineReader::Result::Line);
            Check(line == want);
        }
        Check(reader.ReadLine(line) == CLineReader::Result::End);
        Check(reader.ReadLine(line) == CLineReader::Result::End);
        ::close(fd);
    }

    // The document's file input: the same lines, valid UTF-8 converted to code page 932,
    // then the end of input at every further IN.
    std::FILE* file = std::fopen(TempPath().c_str(), "wb");
    Check(file != nullptr);
    Check(std::fwrite(data, 1, size, file) == size);
    Check(std::fclose(file) == 0);

    // One document for every input, as the desktop program keeps one.
    static CFileHost host(TempPath());
    static CZelkoraDoc doc(host);
    host.messages = 0;
    std::string line;
    for (const std::string& want : expected) {
        Check(doc.ReadInputLine(line));
        Check(doc.GetDeviceLog().back() == "INPUT  : " + line);
        // Whatever the encoding, UTF-8 never grows in code page 932 and ASCII stays as it is.
        Check(line.size() <= want.size());
        if (IsAscii(want)) Check(line == want);
    }
    Check(!doc.ReadInputLine(line) && line.empty());
    Check(!doc.ReadInputLine(line));
    Check(doc.GetDeviceLog().back() == "INPUT  : <EOF>");
    Check(host.messages == 0);

    // After closing, the file is read again from its first line.
    doc.CloseDeviceFiles();
    std::string first;
    if (!expected.empty()) {
        Check(doc.ReadInputLine(first));
        Check(doc.GetDeviceLog().back() == "INPUT  : " + first);
    }
    doc.ResetMachine();  // closes the file and empties the device log
    if (!expected.empty()) {
        Check(doc.ReadInputLine(line));
        Check(line == first);
    }
    doc.ResetMachine();

    // Known text: exactly the bytes written down.
    std::vector<std::string> want;
    const std::string known = KnownTextFile(bytes, want);
    file = std::fopen(TempPath().c_str(), "wb");
    Check(file != nullptr);
    Check(std::fwrite(known.data(), 1, known.size(), file) == known.size());
    Check(std::fclose(file) == 0);
    for (const std::string& stored : want) {
        Check(doc.ReadInputLine(line));
        Check(line == stored);
    }
    Check(!doc.ReadInputLine(line));
    doc.ResetMachine();
    return 0;
}
