#pragma once
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include "assembler/assembler.h"
#include "simulator/change_marks.h"
#include "simulator/comet_core.h"
#include "simulator/device_log.h"
#include "simulator/document_host.h"
#include "simulator/hints.h"
#include "simulator/line_reader.h"
#include "simulator/run_host.h"
#include "simulator/trace_table.h"
#include "simulator/view.h"
#include "simulator/view_classes.h"
#include "simulator/watch.h"

// The document: one CASL II source program and everything to assemble and simulate
// it. It never shows a window itself; it asks its host. To the processor it is the
// run host (messages, devices, running state, pump).
class CZelkoraDoc : public IRunHost {
public:
    static constexpr const char* kUntitled = "(無題)";
    // The device view never shows more than this many lines, so the log keeps no more.
    static constexpr size_t kDeviceLogLimit = CDeviceLog::kLimit;

    explicit CZelkoraDoc(IDocumentHost& host);
    ~CZelkoraDoc() override;
    CZelkoraDoc(const CZelkoraDoc&) = delete;
    CZelkoraDoc& operator=(const CZelkoraDoc&) = delete;

    IDocumentHost& GetHost() { return *m_pHost; }

    // Views. A view may leave (or others join) while a hint is being sent.
    void AddView(CView* view);
    void RemoveView(CView* view);
    void UpdateAllViews(CView* sender, int hint, CHintUpdateView* object = nullptr);
    CView* FindViewByClass(const char* className) const;
    std::vector<CView*> GetViews() const;

    // The source text: the editor's text when an editor is attached, else the text set here.
    void SetSourceText(std::string text) { m_strSourceText = std::move(text); }
    const std::string& GetSourceText() const { return m_strSourceText; }
    void SetSourcePath(std::string path) { m_strSourcePath = std::move(path); }
    const std::string& GetSourcePath() const { return m_strSourcePath; }

    // Assembles the source; on success loads it and opens the simulator window.
    bool AssembleAndLoad();
    void ResetMachine();
    bool Run(int mode, WORD address = 0);
    // Goes on with a run that ended waiting for input or paused (the same run, one command:
    // what it changes is marked from where it began). False when there is none, or after a
    // simulation error.
    bool CanContinueRun() const { return m_core.CanResume(); }
    bool ContinueRun();
    void Stop(RunEnd reason = RunEnd::UserStop) { m_core.RequestStop(reason); }

    // The user's changes to the machine state. Each tells every view but the sender
    // with its hint; a statement that cannot run is refused with a beep.
    bool ToggleBreakpoint(CMnemonic& statement);
    bool SetPRAt(CView* sender, const CMnemonic& statement);
    void SetRegisters(CView* sender, const CRegister& values);
    void Restart(CView* sender);
    void ClearBreakpoints(CView* sender = nullptr);
    void SetMemoryWord(CView* sender, WORD address, WORD value);

    // Going back: each executed statement and each change above is one step. StepBack
    // takes up to count steps back and tells the views once; the number taken back.
    // Reaching the oldest step kept when older ones were dropped is said in a message.
    bool CanStepBack() const { return !m_core.GetHistory().IsEmpty(); }
    std::uint64_t StepBack(std::uint64_t count = 1);
    // Back to where the last run started, or, when that was dropped, to the oldest step kept (and said so).
    std::uint64_t BackToRunStart();
    // Whether the trace table has anything to show: statements executed since the restart, kept or dropped.
    bool HasTraceTable() const { return m_core.GetHistory().GetStatementCount() > 0; }
    // The trace table (CSV) of the statements executed since the restart, as far as the
    // history holds them, written into sink as its rows are made; false when the sink
    // refused a block. GetTraceTable holds it whole, for small tables.
    bool WriteTraceTable(ITraceSink& sink) const;
    std::string GetTraceTable() const;
    std::uint64_t GetTraceTableRows() const { return m_core.GetHistory().GetKeptStatementCount(); }
    // About how many bytes the trace table takes: its rows, each with the program's
    // statements' average source line.
    std::uint64_t EstimateTraceTableBytes() const;
    // A table above kTraceTableAskBytes is made only after this question (its size and
    // rows); empty when the table is smaller.
    std::string TraceTableSizeQuestion() const;
    static constexpr std::uint64_t kTraceTableAskBytes = 100'000'000;

    // What the last command changed: every command that may change the machine (a run,
    // going back, a change of the user's, a restart, a load) copies it first. Changing
    // breakpoints or watches changes no value and keeps what is marked.
    const CChangeMarks& GetChangeMarks() const { return m_changes; }

    // The watches: they live as long as the document, across assemblies.
    CWatchList& GetWatches() { return m_watches; }
    const CWatchList& GetWatches() const { return m_watches; }

    // Input lines that IN reads before the input device: a test case's, while the student
    // traces it. After them the device, or the end of input when ends. A restart gives
    // them again from the first; assembling drops them.
    void SetCaseInput(std::vector<std::string> lines, bool ends);
    bool HasCaseInput() const { return m_bCaseInput; }

    // Devices (IN, OUT, SVC).
    bool ReadInputLine(std::string& line) override;
    bool InputGivenUp() const override { return m_bInputGivenUp; }
    bool InputAwaited() const override { return m_bInputAwaited; }
    void WriteOutputLine(std::string_view text) override;
    void CloseDeviceFiles();
    // Told by the simulator window as it goes, however it goes: its device files close with it.
    void SimulatorWindowClosed() { CloseDeviceFiles(); }
    const CDeviceLog& GetDeviceLog() const { return m_deviceLog; }

    // A string-table message in the box kind it always has.
    void ShowMessage(int messageId, const std::string& text);
    void ShowMessage(int messageId);

    CAssembler& GetAssembler() { return m_assembler; }
    const CAssembler& GetAssembler() const { return m_assembler; }
    CCometCore& GetCore() { return m_core; }
    const CCometCore& GetCore() const { return m_core; }
    CMnemonicArray& GetProgram() { return m_assembler.GetProgram(); }

    // IRunHost
    void EnterRunningState() override { m_pHost->EnterRunningState(); }
    void LeaveRunningState() override { m_pHost->LeaveRunningState(); }
    void Pump() override
    {
        m_pHost->AdvanceRunIndicator();
        m_pHost->PumpMessages();
    }
    void ProgramEnded() override { CloseDeviceFiles(); }
    // The views are told where the run ended before its message shows, so that all agree meanwhile.
    void ShowRunMessage(int messageId) override;

private:
    // A command that may change the machine begins: what it changes is marked from now on.
    void BeginCommand();
    // Once a run: the statement it executed last, then hint 512 to every view.
    void TellRunEnd();
    // After a run's part: the output file flushed, and the views told unless it only paused.
    bool EndRunPart(bool result);
    void ChangeRegisters(const CRegister& values);
    std::uint64_t TakeBack(std::uint64_t count);
    // A message about the dropped steps: taken is how many steps were just taken back.
    void TellDropped(int messageId, std::uint64_t taken);
    void SendDeviceLine(std::string_view prefix, std::string_view text);
    bool ReadInputFile(const CDeviceSettings& settings, std::string& line);
    void WriteOutputFile(const CDeviceSettings& settings, std::string_view text);
    // Output is buffered during a run and flushed when the run returns.
    void FlushOutputFile();
    void DiscardOutputFile();
    void CloseSimulatorWindow();

    IDocumentHost* m_pHost;
    CAssembler m_assembler;
    CCometCore m_core;
    std::string m_strSourcePath = kUntitled;
    CDeviceLog m_deviceLog;
    std::FILE* m_pOutFile = nullptr;
    int m_nInFile = -1;
    std::unique_ptr<CLineReader> m_pInReader;
    std::string m_strOutFileName, m_strInFileName;  // the names the open files were opened under
    // Since the machine was reset: input lines read from the file, and whether the output file was made.
    // When the program's end closed the files and steps were then taken back, going on
    // resumes them: the input after the lines already read, the output appended.
    std::uint64_t m_nInLinesRead = 0;
    std::vector<std::string> m_caseInput;  // SetCaseInput's lines
    size_t m_nCaseInput = 0;               // of those, read since the restart
    bool m_bCaseInput = false, m_bCaseInputEnds = false;
    std::uint64_t m_nInSkip = 0;  // of those, still to pass over in the file opened again
    bool m_bInputGivenUp = false;
    bool m_bInputAwaited = false;  // given up for want of a line, with no Stop
    bool m_bOutFileMade = false;
    bool m_bResumeIn = false, m_bResumeOut = false;
    std::string m_strSourceText;
    std::vector<CView*> m_views;  // null where a view left during a broadcast
    int m_nBroadcasts = 0;        // broadcasts under way
    CWatchList m_watches;
    CChangeMarks m_changes;
    bool m_bRunEndTold = false;
};
