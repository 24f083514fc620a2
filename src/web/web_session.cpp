#include "web/web_session.h"

#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "simulator/value_entry.h"
#include "text/codepage.h"

CWebSession::CWebSession() { m_doc.AddView(this); }

CWebSession::~CWebSession() { m_doc.RemoveView(this); }

CDecodedSource CWebSession::OpenFile(std::string bytes, std::optional<TextEncoding> encoding)
{
    m_fileBytes = std::move(bytes);
    CDecodedSource source = encoding ? DecodeSource(m_fileBytes, *encoding) : DecodeSource(m_fileBytes);
    m_format = source.format;
    return source;
}

void CWebSession::NewFile()
{
    m_fileBytes.clear();
    m_format = CSourceFormat{};
}

std::string CWebSession::FileBytes(std::u16string_view text, const std::vector<std::uint32_t>& otherEnds,
                                   bool& ok) const
{
    return SourceToFileBytes(text, m_format, otherEnds, &ok);
}

bool CWebSession::Assemble(std::u16string_view text)
{
    if (IsRunOpen()) Stop();
    m_input.clear();
    m_doc.SetSourceText(SourceTextToCp932(text, m_format.encoding));
    m_bLoaded = m_doc.AssembleAndLoad();
    // Loading began the device log anew; a failed assembly left it as it was.
    if (m_bLoaded) m_nDeviceLines = 0;
    m_listing.Build(m_doc.GetProgram());
    return m_bLoaded;
}

std::vector<CWebError> CWebSession::GetErrors() const
{
    std::vector<CWebError> errors;
    for (const auto& error : m_doc.GetAssembler().GetErrors())
        errors.push_back({error->GetLineNumber(), error->GetText()});
    return errors;
}

CWebRunStatus CWebSession::GetRunStatus() const
{
    const CCometCore& core = m_doc.GetCore();
    const RunEnd end = core.GetLastRunEnd();
    return {IsRunOpen(), end == RunEnd::WaitingForInput, static_cast<int>(end),
            static_cast<double>(core.GetExecutedCount()), m_nIndicator};
}

CWebRunStatus CWebSession::RunSlice(bool start, int mode, WORD address)
{
    m_sliceEnd = std::chrono::steady_clock::now() + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                                        std::chrono::duration<double, std::milli>(m_sliceMs));
    m_nPumpsToClock = kPumpsPerClock;
    if (start)
        m_doc.Run(mode, address);
    else
        m_doc.ContinueRun();
    return GetRunStatus();
}

CWebRunStatus CWebSession::Run(int mode, WORD address)
{
    if (!m_bLoaded || IsRunOpen()) {
        Beep();
        return GetRunStatus();
    }
    return RunSlice(true, mode, address);
}

CWebRunStatus CWebSession::RunToRow(std::uint32_t row)
{
    const CMnemonic* statement = row < m_listing.GetRowCount() ? m_doc.GetProgram()[row] : nullptr;
    if (!statement || !statement->IsExecutable()) {
        Beep();
        return GetRunStatus();
    }
    return Run(RUN_TO_ADDRESS, statement->GetAddress());
}

CWebRunStatus CWebSession::Continue()
{
    if (!IsRunOpen()) return GetRunStatus();
    return RunSlice(false, 0, 0);
}

CWebRunStatus CWebSession::Stop()
{
    m_doc.Stop();
    // Between two slices the run ends at once, as the user's Stop: the message says so.
    if (IsRunOpen()) m_doc.ContinueRun();
    return GetRunStatus();
}

void CWebSession::PumpMessages()
{
    // The clock is looked at every few pumps only: in WebAssembly each look is a call out
    // to JavaScript that costs as much as some hundred statements.
    if (--m_nPumpsToClock > 0) return;
    m_nPumpsToClock = kPumpsPerClock;
    // A slice gives way to the page's messages; a Stop already requested stays the reason.
    if (!m_doc.GetCore().IsStopRequested() && std::chrono::steady_clock::now() >= m_sliceEnd)
        m_doc.Stop(RunEnd::Paused);
}

void CWebSession::GiveInputLine(std::string_view utf8) { m_input.emplace_back(Utf8ToCp932(utf8)); }

void CWebSession::GiveEndOfInput() { m_input.emplace_back(std::nullopt); }

bool CWebSession::RunKeyInputDialog(std::string& line)
{
    if (m_input.empty()) return false;
    const std::optional<std::string> next = std::move(m_input.front());
    m_input.pop_front();
    if (!next) return false;
    line = *next;
    return true;
}

void CWebSession::ShowMessage(int messageId, MessageIcon icon, const std::string& text)
{
    m_events.push_back({messageId, static_cast<int>(icon), text});
}

void CWebSession::Beep() { m_events.push_back({0, 0, {}}); }

std::vector<CWebEvent> CWebSession::TakeEvents() { return std::exchange(m_events, {}); }

void CWebSession::OnUpdate(CView*, int hint, CHintUpdateView*)
{
    if (hint == HINT_DEVICE_OUTPUT) ++m_nDeviceLines;
}

std::vector<std::u16string> CWebSession::DeviceLines(double since) const
{
    const CDeviceLog& log = m_doc.GetDeviceLog();
    // The number of the oldest line kept.
    const std::uint64_t first = m_nDeviceLines >= log.size() ? m_nDeviceLines - log.size() : 0;
    std::vector<std::u16string> lines;
    for (std::uint64_t n = std::max<std::uint64_t>(first, since < 0 ? 0 : static_cast<std::uint64_t>(since));
         n < m_nDeviceLines; ++n)
        lines.push_back(Cp932LineToShown(log[n - first]));
    return lines;
}

bool CWebSession::MayChange()
{
    if (m_bLoaded && !IsRunOpen()) return true;
    Beep();
    return false;
}

bool CWebSession::ToggleBreakpoint(std::uint32_t row)
{
    // Like the desktop's during a run: the next part of the run heeds it.
    if (!m_bLoaded || row >= m_listing.GetRowCount()) return false;
    return m_doc.ToggleBreakpoint(*m_doc.GetProgram()[row]);
}

void CWebSession::ClearBreakpoints()
{
    if (m_bLoaded) m_doc.ClearBreakpoints();
}

bool CWebSession::SetPRAtRow(std::uint32_t row)
{
    if (!MayChange() || row >= m_listing.GetRowCount()) return false;
    return m_doc.SetPRAt(nullptr, *m_doc.GetProgram()[row]);
}

void CWebSession::Restart()
{
    if (!m_bLoaded) return;
    if (IsRunOpen()) Stop();
    m_input.clear();
    m_nDeviceLines = 0;  // the restart begins the device log anew
    m_doc.Restart(nullptr);
}

double CWebSession::StepBack(double count)
{
    if (!MayChange() || count < 1) return 0;
    return static_cast<double>(m_doc.StepBack(static_cast<std::uint64_t>(count)));
}

double CWebSession::BackToRunStart()
{
    if (!MayChange()) return 0;
    return static_cast<double>(m_doc.BackToRunStart());
}

int CWebSession::SetRegisters(const std::array<std::string, 10>& texts, bool overflow, bool sign, bool zero)
{
    if (!MayChange()) return kRefused;
    const CLabelBank& labels = m_doc.GetAssembler().GetLabels();
    CRegister values;
    for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
        WORD value = 0;
        bool encodable = true;
        const std::string text = Utf8ToCp932(texts[static_cast<size_t>(i)], &encodable);
        if (!encodable || !ParseWordValue(text, &labels, value)) {
            m_doc.ShowMessage(MSG_REGISTER_VALUE_BAD);
            return i;
        }
        values[i] = value;
    }
    values[REG_FR] = static_cast<WORD>((overflow ? FLAG_OF : 0) | (sign ? FLAG_SF : 0) | (zero ? FLAG_ZF : 0));
    m_doc.SetRegisters(nullptr, values);
    return kTaken;
}

void CWebSession::SetMemoryWord(WORD address, WORD value)
{
    if (MayChange()) m_doc.SetMemoryWord(nullptr, address, value);
}

bool CWebSession::TypeDumpDigit(WORD address, int digit, std::string_view key)
{
    const char c = key.size() == 1 ? key[0] : '\0';
    const int value = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (value < 0 || digit < 0 || digit > 3 || !MayChange()) {
        if (value < 0 || digit < 0 || digit > 3) Beep();
        return false;
    }
    const int shift = 4 * (3 - digit);
    const WORD old = m_doc.GetCore().GetMemory().GetWord(address);
    m_doc.SetMemoryWord(nullptr, address, static_cast<WORD>((old & ~(0xF << shift)) | (value << shift)));
    return true;
}

bool CWebSession::TypeDumpCharacter(WORD address, std::string_view utf8)
{
    bool encodable = true;
    const std::string bytes = Utf8ToCp932(utf8, &encodable);
    if (!encodable || bytes.size() != 1) {
        Beep();
        return false;
    }
    if (!MayChange()) return false;
    m_doc.SetMemoryWord(nullptr, address, static_cast<WORD>(static_cast<unsigned char>(bytes[0])));
    return true;
}

namespace {
// The watch dialog's check: 0, or the message shown.
int CheckWatch(CZelkoraDoc& doc, std::string_view target, unsigned length, int format, std::string& cp932)
{
    bool encodable = true;
    cp932 = Utf8ToCp932(target, &encodable);
    const int message =
        encodable ? ValidateWatch(cp932, length, format, &doc.GetAssembler().GetLabels()) : MSG_WATCH_TARGET;
    if (message == MSG_WATCH_LENGTH)
        doc.ShowMessage(message, FormatMessage(message, WatchLengthRangeText()));
    else if (message != 0)
        doc.ShowMessage(message);
    return message;
}
}  // namespace

int CWebSession::AddWatch(std::string_view target, unsigned length, int format)
{
    std::string cp932;
    const int message = CheckWatch(m_doc, target, length, format, cp932);
    if (message == 0) m_doc.GetWatches().Add(cp932, length, format);
    return message;
}

int CWebSession::ChangeWatch(std::uint32_t index, std::string_view target, unsigned length, int format)
{
    if (index >= m_doc.GetWatches().GetSize()) return -1;
    std::string cp932;
    const int message = CheckWatch(m_doc, target, length, format, cp932);
    if (message == 0) std::next(m_doc.GetWatches().begin(), index)->get()->Set(cp932, length, format);
    return message;
}

bool CWebSession::RemoveWatch(std::uint32_t index)
{
    if (index >= m_doc.GetWatches().GetSize()) return false;
    return m_doc.GetWatches().Remove(std::next(m_doc.GetWatches().begin(), index)->get());
}

std::vector<CListingRow> CWebSession::ListingRows(std::uint32_t first, std::uint32_t count) const
{
    return MakeListingRows(m_doc, m_listing, first, count);
}
