#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include "simulator/document_host.h"
#include "simulator/trace_table.h"
#include "simulator/view.h"
#include "simulator/zelkora_doc.h"
#include "text/source_text.h"
#include "web/web_panes.h"

// A message box or a beep the page is to show, in the order they came.
struct CWebEvent {
    int messageId = 0;  // 0: a beep
    int icon = 0;       // MessageIcon
    std::string text;   // UTF-8, the string table's text with its arguments
};

// Where the machine stands after a command that runs it.
struct CWebRunStatus {
    bool open = false;     // the run goes on with Continue (paused, or waiting for a line)
    bool waiting = false;  // it waits for an input line (or the end of input)
    int end = 0;           // RunEnd of the last part
    double executed = 0;   // statements the run has executed so far (a double: JavaScript's number)
    int indicator = 0;     // how far the run indicator has moved since the session began
};

// One document with the page as its host: the desktop simulator window's commands and
// the state its panes draw, for a page whose machine runs in a Web Worker. A worker
// cannot take a message while the machine runs, so a run goes in slices: the pump ends
// a slice after SetSliceMs of wall time ("paused"), the worker takes its messages (Stop,
// a breakpoint, the state the page asks for) and Continue goes on with the same run. An
// IN with no line given ends a slice "waiting" instead; GiveInput and Continue go on.
class CWebSession final : public IDocumentHost, private CView {
public:
    static constexpr double kDefaultSliceMs = 25;

    CWebSession();
    ~CWebSession() override;
    CWebSession(const CWebSession&) = delete;
    CWebSession& operator=(const CWebSession&) = delete;

    // A source file's bytes for the editor, in the encoding the desktop program's rule
    // finds (or the one given); the session keeps them and their format for saving.
    CDecodedSource OpenFile(std::string bytes, std::optional<TextEncoding> encoding = std::nullopt);
    // A new, empty source: code page 932 with CR LF.
    void NewFile();
    const CSourceFormat& GetFormat() const { return m_format; }
    void SetFormat(const CSourceFormat& format) { m_format = format; }
    // The editor's text as the file is written; otherEnds: the lines whose end is not
    // the format's; ok false when a character cannot be written in the file's encoding.
    std::string FileBytes(std::u16string_view text, const std::vector<std::uint32_t>& otherEnds, bool& ok) const;

    // Assembles the editor's text (in the file's encoding) and loads it.
    bool Assemble(std::u16string_view text);
    bool IsLoaded() const { return m_bLoaded; }
    std::vector<CWebError> GetErrors() const;

    // Running. address: RUN_TO_ADDRESS's. A run that cannot start (a run is open) is refused.
    CWebRunStatus Run(int mode, WORD address = 0);
    // Run to the listing's row (F11): a row with no executable statement beeps.
    CWebRunStatus RunToRow(std::uint32_t row);
    CWebRunStatus Continue();
    // Ends an open run now (its IN, when it waits, has not happened); asks a run to stop otherwise.
    CWebRunStatus Stop();
    CWebRunStatus GetRunStatus() const;
    void GiveInputLine(std::string_view utf8);
    void GiveEndOfInput();
    void SetSliceMs(double ms) { m_sliceMs = ms; }

    // The user's changes (refused while a run is open). Rows are the listing's.
    bool ToggleBreakpoint(std::uint32_t row);
    void ClearBreakpoints();
    bool SetPRAtRow(std::uint32_t row);
    void Restart();
    double StepBack(double count = 1);
    double BackToRunStart();
    bool CanStepBack() const { return m_doc.CanStepBack(); }
    // The register dialog: GR0-GR7, SP and PR as typed (its value syntax), and the flags.
    // kTaken, or the field that is no value (said in a message), or kRefused (a beep).
    static constexpr int kTaken = -1, kRefused = -2;
    int SetRegisters(const std::array<std::string, 10>& texts, bool overflow, bool sign, bool zero);
    void SetMemoryWord(WORD address, WORD value);
    // Typing in the dump: a hexadecimal digit into digit 0-3 (from the left) of a word, or
    // a character (UTF-8, one code page 932 byte) as the word. False (and a beep) when
    // the key is no such thing.
    bool TypeDumpDigit(WORD address, int digit, std::string_view key);
    bool TypeDumpCharacter(WORD address, std::string_view utf8);

    // Watches: 0 when taken, else the message that says what is wrong (shown too).
    int AddWatch(std::string_view target, unsigned length, int format);
    int ChangeWatch(std::uint32_t index, std::string_view target, unsigned length, int format);
    bool RemoveWatch(std::uint32_t index);

    // The panes' state.
    const CListingIndex& GetListing() const { return m_listing; }
    std::vector<CListingRow> ListingRows(std::uint32_t first, std::uint32_t count) const;
    std::vector<CRegisterRow> RegisterRows() const { return MakeRegisterRows(m_doc); }
    std::vector<CStackRow> StackRows(std::uint32_t count) const { return MakeStackRows(m_doc, count); }
    std::vector<CLabelRow> LabelRows(int column, bool descending) const
    {
        return MakeLabelRows(m_doc, column, descending);
    }
    std::vector<CDumpRow> DumpRows(WORD first, std::uint32_t count) const { return MakeDumpRows(m_doc, first, count); }
    std::vector<CWatchRow> WatchRows() const { return MakeWatchRows(m_doc); }
    // The device lines ("INPUT  : ", "OUTPUT : ") after the first since of all written since
    // the last load or restart, as far as the last kDeviceLogLimit reach.
    std::vector<std::u16string> DeviceLines(double since) const;
    double GetDeviceLineCount() const { return static_cast<double>(m_nDeviceLines); }
    // The trace table (CSV, UTF-8) of the statements since the restart, a block at a time:
    // after a long run it is far too big to be held whole. False when the sink refused.
    bool WriteTraceTable(ITraceSink& sink) const { return m_doc.WriteTraceTable(sink); }
    // The question before a table too big to take lightly; empty when it is not.
    std::string TraceTableSizeQuestion() const { return m_doc.TraceTableSizeQuestion(); }
    // Message boxes and beeps since the last call.
    std::vector<CWebEvent> TakeEvents();

    CZelkoraDoc& GetDocument() { return m_doc; }

private:
    // IDocumentHost
    void ShowMessage(int messageId, MessageIcon icon, const std::string& text) override;
    void Beep() override;
    bool RunKeyInputDialog(std::string& line) override;
    bool IsKeyInputReady() override { return !m_input.empty(); }
    const CDeviceSettings& GetDeviceSettings() override { return m_settings; }
    void EnterRunningState() override {}
    void LeaveRunningState() override {}
    void AdvanceRunIndicator() override { ++m_nIndicator; }
    void PumpMessages() override;
    bool OpenSimulatorWindow(CZelkoraDoc&) override { return true; }
    void CloseSimulatorWindow(CZelkoraDoc&) override {}
    // CView
    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;
    const char* GetClassName() const override { return "CWebPage"; }

    bool IsRunOpen() const { return m_doc.CanContinueRun(); }
    // A user's change may not come between the parts of a run; false (a beep) then.
    bool MayChange();
    CWebRunStatus RunSlice(bool start, int mode, WORD address);

    CZelkoraDoc m_doc{*this};
    CDeviceSettings m_settings;  // key input, screen output: a page has no files
    CSourceFormat m_format;
    std::string m_fileBytes;
    bool m_bLoaded = false;
    CListingIndex m_listing;
    std::deque<std::optional<std::string>> m_input;  // lines given ahead (code page 932); none: the end of input
    std::vector<CWebEvent> m_events;
    std::uint64_t m_nDeviceLines = 0;
    int m_nIndicator = 0;
    double m_sliceMs = kDefaultSliceMs;
    static constexpr int kPumpsPerClock = 32;  // about 3,000 statements: tens of microseconds
    int m_nPumpsToClock = kPumpsPerClock;
    std::chrono::steady_clock::time_point m_sliceEnd;
};
