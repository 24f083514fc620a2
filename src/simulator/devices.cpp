// The IN and OUT devices: key input or a text file in, the screen and optionally a text file out.
#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "simulator/file_identity.h"
#include "simulator/zelkora_doc.h"
#include "text/text_encoding.h"

namespace {
constexpr std::string_view kInputPrefix = "INPUT  : ";
constexpr std::string_view kOutputPrefix = "OUTPUT : ";
}  // namespace

bool CZelkoraDoc::ReadInputLine(std::string& line)
{
    // After steps were taken back, the lines read then come again, in order: the
    // key-input dialog is not asked twice and the file is not read twice.
    CRunHistory& history = m_core.GetHistory();
    bool ok;
    m_bInputGivenUp = m_bInputAwaited = false;
    if (!history.TakeReplay(ok, line)) {
        const CDeviceSettings& settings = m_pHost->GetDeviceSettings();
        line.clear();
        // No line yet for a host that cannot wait: given up like a Stop's read, and said why.
        const bool fromCase = m_bCaseInput && (m_nCaseInput < m_caseInput.size() || m_bCaseInputEnds);
        if (!fromCase && settings.inDeviceType == 0 && !m_pHost->IsKeyInputReady()) {
            m_bInputGivenUp = m_bInputAwaited = true;
            return false;
        }
        if (fromCase) {
            ok = m_nCaseInput < m_caseInput.size();
            if (ok) line = m_caseInput[m_nCaseInput++];
        } else {
            ok = settings.inDeviceType == 0 ? m_pHost->RunKeyInputDialog(line) : ReadInputFile(settings, line);
        }
        if (!ok) line.clear();
        // No line while a Stop waits: the read was given up, which is no end of input.
        // Nothing is logged or kept; the IN runs again when the program goes on.
        if (!ok && m_core.IsStopRequested()) {
            m_bInputGivenUp = true;
            return false;
        }
    }
    history.NoteInput(ok, line);
    SendDeviceLine(kInputPrefix, ok ? std::string_view(line) : std::string_view("<EOF>"));
    return ok;
}

bool CZelkoraDoc::ReadInputFile(const CDeviceSettings& settings, std::string& line)
{
    if (!m_pInReader) {
        // Not blocking, so that opening a pipe nobody writes to yet does not wait.
        m_nInFile = ::open(settings.inFileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (m_nInFile < 0) {
            ShowMessage(MSG_IN_FILE_OPEN, FormatMessage(MSG_IN_FILE_OPEN, settings.inFileName));
            return false;
        }
        m_pInReader = std::make_unique<CLineReader>(m_nInFile);
        m_strInFileName = settings.inFileName;
        m_nInSkip = m_bResumeIn ? m_nInLinesRead : 0;
        m_bResumeIn = false;
        m_nInLinesRead = 0;
    }
    // A line that never ends (/dev/zero) or never comes (a pipe, a terminal) keeps the
    // window alive and gives way to a Stop.
    const auto keepWaiting = [this] {
        Pump();
        return !m_core.IsStopRequested();
    };
    CLineReader::Result result;
    // The lines the program read before the file was closed are passed over.
    while ((result = m_pInReader->ReadLine(line, keepWaiting)) == CLineReader::Result::Line && m_nInSkip > 0) {
        --m_nInSkip;
        ++m_nInLinesRead;
    }
    switch (result) {
    case CLineReader::Result::Line:
        ++m_nInLinesRead;
        // Lines written here may be UTF-8; the program works in code page 932.
        line = TextToCp932(line);
        return true;
    case CLineReader::Result::End:
    case CLineReader::Result::GaveUp: return false;
    case CLineReader::Result::Error: break;
    }
    m_pInReader.reset();
    ::close(m_nInFile);
    m_nInFile = -1;
    ShowMessage(MSG_IN_FILE_READ, FormatMessage(MSG_IN_FILE_READ, m_strInFileName));
    return false;
}

void CZelkoraDoc::WriteOutputLine(std::string_view text)
{
    const CDeviceSettings& settings = m_pHost->GetDeviceSettings();
    if (settings.outDeviceType == 1) WriteOutputFile(settings, text);
    m_pHost->OnOutputLine(text);
    SendDeviceLine(kOutputPrefix, text);
}

void CZelkoraDoc::WriteOutputFile(const CDeviceSettings& settings, std::string_view text)
{
    if (!m_pOutFile) {
        // Making the output file empties it: never the program's own source, nor the file IN reads.
        const bool ownFile = IsRegularFile(settings.outFileName) &&
                             (IsSameFile(settings.outFileName, m_strSourcePath) ||
                              (settings.inDeviceType != 0 && IsSameFile(settings.outFileName, settings.inFileName)));
        m_pOutFile = ownFile ? nullptr : std::fopen(settings.outFileName.c_str(), m_bResumeOut ? "ab" : "wb");
        m_bResumeOut = false;
        if (!m_pOutFile) {
            ShowMessage(MSG_OUT_FILE_CREATE, FormatMessage(MSG_OUT_FILE_CREATE, settings.outFileName));
            return;
        }
        m_strOutFileName = settings.outFileName;
        m_bOutFileMade = true;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), m_pOutFile) == text.size() &&
                         std::fwrite("\r\n", 1, 2, m_pOutFile) == 2;
    if (!written) DiscardOutputFile();
}

void CZelkoraDoc::FlushOutputFile()
{
    if (m_pOutFile && std::fflush(m_pOutFile) != 0) DiscardOutputFile();
}

void CZelkoraDoc::DiscardOutputFile()
{
    std::fclose(m_pOutFile);
    m_pOutFile = nullptr;
    ShowMessage(MSG_OUT_FILE_WRITE, FormatMessage(MSG_OUT_FILE_WRITE, m_strOutFileName));
}

void CZelkoraDoc::CloseDeviceFiles()
{
    m_pInReader.reset();
    if (m_nInFile >= 0) {
        ::close(m_nInFile);
        m_nInFile = -1;
    }
    // Lines still buffered are written first: at the normal end of a program the file
    // is closed before the run returns, and a failed write must be reported, not lost.
    FlushOutputFile();
    if (m_pOutFile) {
        std::fclose(m_pOutFile);
        m_pOutFile = nullptr;
    }
}
