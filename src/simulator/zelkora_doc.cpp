#include "simulator/zelkora_doc.h"

#include <algorithm>
#include <cstring>
#include "assembler/error_numbers.h"
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "simulator/trace_table.h"

CZelkoraDoc::CZelkoraDoc(IDocumentHost& host) : m_pHost(&host), m_core(this) {}

CZelkoraDoc::~CZelkoraDoc() { CloseDeviceFiles(); }

void CZelkoraDoc::AddView(CView* view)
{
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end()) m_views.push_back(view);
}

void CZelkoraDoc::RemoveView(CView* view)
{
    const auto it = std::find(m_views.begin(), m_views.end(), view);
    if (it == m_views.end()) return;
    // During a broadcast the place stays (empty), so that the broadcast walks on safely.
    if (m_nBroadcasts > 0)
        *it = nullptr;
    else
        m_views.erase(it);
}

void CZelkoraDoc::UpdateAllViews(CView* sender, int hint, CHintUpdateView* object)
{
    ++m_nBroadcasts;
    for (size_t i = 0; i < m_views.size(); ++i)
        if (CView* view = m_views[i]; view && view != sender) view->OnUpdate(sender, hint, object);
    if (--m_nBroadcasts == 0) m_views.erase(std::remove(m_views.begin(), m_views.end(), nullptr), m_views.end());
}

CView* CZelkoraDoc::FindViewByClass(const char* className) const
{
    for (CView* view : m_views)
        if (view && std::strcmp(view->GetClassName(), className) == 0) return view;
    return nullptr;
}

std::vector<CView*> CZelkoraDoc::GetViews() const
{
    std::vector<CView*> views;
    for (CView* view : m_views)
        if (view) views.push_back(view);
    return views;
}

void CZelkoraDoc::CloseSimulatorWindow()
{
    m_pHost->CloseSimulatorWindow(*this);
    CloseDeviceFiles();
}

void CZelkoraDoc::ShowMessage(int messageId, const std::string& text)
{
    MessageIcon icon = MessageIcon::Warning;
    switch (messageId) {
    case MSG_ASSEMBLE_OK:
    case MSG_STOPPED_BY_USER:
    case MSG_PROGRAM_END:
    case MSG_RUN_START_NOT_KEPT:
    case MSG_OLDEST_STEP_REACHED: icon = MessageIcon::Information; break;
    case MSG_SIMULATOR_OPEN_FAILED: icon = MessageIcon::Stop; break;
    default: break;
    }
    m_pHost->ShowMessage(messageId, icon, text);
}

void CZelkoraDoc::ShowMessage(int messageId) { ShowMessage(messageId, std::string(LoadString(messageId))); }

void CZelkoraDoc::ShowRunMessage(int messageId)
{
    TellRunEnd();
    ShowMessage(messageId);
}

void CZelkoraDoc::BeginCommand() { m_changes.Take(m_core.GetRegisters(), m_core.GetMemory()); }

void CZelkoraDoc::TellRunEnd()
{
    if (m_bRunEndTold) return;
    m_bRunEndTold = true;
    m_changes.SetLastRun(m_core.GetLastExecutedAddress());
    UpdateAllViews(nullptr, HINT_MACHINE_STATE);
}

bool CZelkoraDoc::AssembleAndLoad()
{
    if (FindViewByClass(kSimulateViewClass)) CloseSimulatorWindow();

    if (const CView* editor = FindViewByClass(kSourceViewClass)) editor->GetSourceText(m_strSourceText);
    SetCaseInput({}, false);
    UpdateAllViews(nullptr, HINT_ASSEMBLE_BEGIN);

    if (!m_assembler.AssembleSource(m_strSourceText)) {
        CHintUpdateView hint;
        hint.m_pObject = &m_assembler;
        UpdateAllViews(nullptr, HINT_ASSEMBLE_ERRORS, &hint);
        ShowMessage(MSG_ASSEMBLE_ERRORS,
                    FormatMessage(MSG_ASSEMBLE_ERRORS, static_cast<int>(m_assembler.GetErrors().GetSize())));
        return false;
    }

    ShowMessage(MSG_ASSEMBLE_OK);
    ResetMachine();
    if (!m_pHost->OpenSimulatorWindow(*this)) {
        ShowMessage(MSG_SIMULATOR_OPEN_FAILED);
        return false;
    }
    return true;
}

void CZelkoraDoc::SetCaseInput(std::vector<std::string> lines, bool ends)
{
    m_caseInput = std::move(lines);
    m_bCaseInputEnds = ends;
    m_bCaseInput = !m_caseInput.empty() || ends;
    m_nCaseInput = 0;
}

void CZelkoraDoc::ResetMachine()
{
    CloseDeviceFiles();
    m_nInLinesRead = 0;
    m_nCaseInput = 0;
    m_bOutFileMade = m_bResumeIn = m_bResumeOut = false;
    m_core.Reset();
    CRegister& reg = m_core.GetRegisters();
    CMemory& mem = m_core.GetMemory();
    reg[REG_PR] = m_assembler.GetStartAddress();
    mem.SetWord(0xFFFF, 0x0000);
    reg[REG_SP] = 0xFFFF;
    m_assembler.LoadProgram(mem);
    m_deviceLog.Clear();
    // A fresh start: nothing is marked as changed.
    BeginCommand();
}

bool CZelkoraDoc::Run(int mode, WORD address)
{
    BeginCommand();
    m_bRunEndTold = false;
    return EndRunPart(m_core.Run(m_assembler.GetProgram(), mode, address));
}

bool CZelkoraDoc::ContinueRun()
{
    if (!m_core.CanResume()) return false;
    m_bRunEndTold = false;
    return EndRunPart(m_core.Resume(m_assembler.GetProgram()));
}

bool CZelkoraDoc::EndRunPart(bool result)
{
    FlushOutputFile();
    // A pause is no stop: the panes keep what they showed, as during a run.
    if (m_core.GetLastRunEnd() != RunEnd::Paused) TellRunEnd();
    return result;
}

bool CZelkoraDoc::ToggleBreakpoint(CMnemonic& statement)
{
    // Only the listing shows breakpoints, and it is the one that toggles them: no hint.
    if (!statement.IsExecutable()) {
        m_pHost->Beep();
        return false;
    }
    statement.SetBreakpoint(!statement.HasBreakpoint());
    return true;
}

bool CZelkoraDoc::SetPRAt(CView* sender, const CMnemonic& statement)
{
    if (!statement.IsExecutable()) {
        m_pHost->Beep();
        return false;
    }
    CRegister values = m_core.GetRegisters();
    values[REG_PR] = statement.GetAddress();
    ChangeRegisters(values);
    UpdateAllViews(sender, HINT_REGISTERS_CHANGED);
    return true;
}

void CZelkoraDoc::SetRegisters(CView* sender, const CRegister& values)
{
    ChangeRegisters(values);
    UpdateAllViews(sender, HINT_REGISTERS_CHANGED);
}

// A change of the user's is one step back of its own; one that changes nothing is none.
void CZelkoraDoc::ChangeRegisters(const CRegister& values)
{
    BeginCommand();
    CRegister& reg = m_core.GetRegisters();
    if (reg == values) return;
    m_core.BeginUserChange();
    reg = values;
    m_core.EndUserChange();
}

void CZelkoraDoc::Restart(CView* sender)
{
    ResetMachine();
    UpdateAllViews(sender, HINT_MACHINE_STATE);
}

void CZelkoraDoc::SetMemoryWord(CView* sender, WORD address, WORD value)
{
    BeginCommand();
    CMemory& mem = m_core.GetMemory();
    if (mem.GetWord(address) != value) {
        m_core.BeginUserChange();
        mem.SetWord(address, value);
        m_core.EndUserChange();
    }
    CHintUpdateView hint;
    hint.m_wAddress = address;
    UpdateAllViews(sender, HINT_MEMORY_EDITED, &hint);
}

void CZelkoraDoc::ClearBreakpoints(CView* sender)
{
    m_assembler.GetProgram().ClearBreakpoints();
    UpdateAllViews(sender, HINT_BREAKPOINTS_CLEARED);
}

void CZelkoraDoc::SendDeviceLine(std::string_view prefix, std::string_view text)
{
    m_deviceLog.Add(prefix, text);
    // Only views hear of it; a headless run has none and builds no hint.
    if (m_views.empty()) return;
    CHintUpdateView hint;
    hint.m_strText = m_deviceLog.back();
    UpdateAllViews(nullptr, HINT_DEVICE_OUTPUT, &hint);
}

std::uint64_t CZelkoraDoc::TakeBack(std::uint64_t count)
{
    if (count == 0 || !CanStepBack()) return 0;
    BeginCommand();
    const std::uint64_t taken = m_core.StepBack(count);
    if (taken == 0) return 0;
    if (m_nInFile < 0 && m_nInLinesRead > 0) m_bResumeIn = true;
    if (!m_pOutFile && m_bOutFileMade) m_bResumeOut = true;
    UpdateAllViews(nullptr, HINT_MACHINE_STATE);
    return taken;
}

void CZelkoraDoc::TellDropped(int messageId, std::uint64_t taken)
{
    const CRunHistory& history = m_core.GetHistory();
    ShowMessage(messageId,
                FormatMessageArgs(messageId, {std::to_string(taken), std::to_string(history.GetDroppedCount()),
                                              std::to_string(history.GetBudget() >> 20)}));
}

std::uint64_t CZelkoraDoc::StepBack(std::uint64_t count)
{
    const std::uint64_t taken = TakeBack(count);
    // The steps before the oldest one kept are gone: going back stops here, and says why.
    if (taken > 0 && !CanStepBack() && m_core.GetHistory().GetDroppedCount() > 0)
        TellDropped(MSG_OLDEST_STEP_REACHED, taken);
    return taken;
}

std::uint64_t CZelkoraDoc::BackToRunStart()
{
    const CRunHistory& history = m_core.GetHistory();
    if (history.IsLastRunStartKept()) return StepBack(history.StepsToLastRunStart());
    const std::uint64_t taken = TakeBack(history.GetStepCount());
    if (taken > 0) TellDropped(MSG_RUN_START_NOT_KEPT, taken);
    return taken;
}

namespace {
class CTraceRows final : public CRunHistory::IStepVisitor {
public:
    explicit CTraceRows(CTraceTableWriter& writer) : m_writer(writer) {}
    bool Visit(const CRunHistory::CStepView& step) override
    {
        return m_writer.AddRow(step.number, step.address, step.after);
    }

private:
    CTraceTableWriter& m_writer;
};

// Takes nothing: the estimate only measures rows.
class CNoSink final : public ITraceSink {
public:
    bool Write(std::string_view, std::uint64_t) override { return true; }
};
}  // namespace

bool CZelkoraDoc::WriteTraceTable(ITraceSink& sink) const
{
    CTraceTableWriter writer(m_assembler.GetProgram(), sink);
    CTraceRows rows(writer);
    return writer.Begin(m_core.GetHistory().GetDroppedStatementCount()) && m_core.VisitSteps(rows) && writer.Flush();
}

std::string CZelkoraDoc::GetTraceTable() const
{
    CTraceString text;
    WriteTraceTable(text);
    return std::move(text.Text());
}

std::string CZelkoraDoc::TraceTableSizeQuestion() const
{
    const std::uint64_t bytes = EstimateTraceTableBytes();
    if (bytes <= kTraceTableAskBytes) return {};
    return FormatMessageArgs(MSG_TRACE_TABLE_LARGE,
                             {std::to_string((bytes + 500'000) / 1'000'000), std::to_string(GetTraceTableRows())});
}

std::uint64_t CZelkoraDoc::EstimateTraceTableBytes() const
{
    const std::uint64_t rows = GetTraceTableRows();
    const CMnemonicArray& program = m_assembler.GetProgram();
    CNoSink none;
    CTraceTableWriter writer(program, none);
    std::uint64_t statements = 0, prefixes = 0;
    for (const auto& statement : program)
        if (statement && statement->IsExecutable()) {
            ++statements;
            prefixes += writer.PrefixBytes(statement->GetAddress());
        }
    const std::uint64_t last = m_core.GetHistory().GetStatementCount();
    // The number (at most as long as the last one), the registers ",#hhhh" each, FR and the line end.
    const std::uint64_t fixed = std::to_string(last).size() + 9 * 6 + 6;
    return TraceTable::Header().size() + rows * (fixed + (statements ? prefixes / statements : 0));
}
