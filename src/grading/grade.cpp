#include "grading/grade.h"

#include "grading/expected_value.h"
#include "resources/message_ids.h"
#include "simulator/document_host.h"
#include "simulator/zelkora_doc.h"
#include "text/codepage.h"
#include "text/text_encoding.h"

int CSubmissionResult::PassedCount() const
{
    int passed = 0;
    for (const auto& c : cases) passed += c.passed ? 1 : 0;
    return passed;
}

int CSubmissionResult::Points() const
{
    int points = 0;
    for (const auto& c : cases) points += c.points;
    return points;
}

int CSubmissionResult::MaxPoints() const
{
    int points = 0;
    for (const auto& c : cases) points += c.maxPoints;
    return points;
}

namespace {
// Long lines are cut in reasons, so that a flood of output keeps a report readable.
std::string Shown(std::string_view cp932)
{
    constexpr size_t kMax = 120;
    std::string text = Cp932ToUtf8(cp932.substr(0, kMax));
    if (cp932.size() > kMax) text += "...";
    return "\"" + text + "\"";
}

std::string_view WithoutTrailingSpaces(std::string_view text)
{
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// The host of a program under test: input from the case, output compared line by line
// as it comes (nothing is kept, however much is written), no windows.
class CGradingHost final : public IDocumentHost {
public:
    explicit CGradingHost(const std::atomic<bool>* interrupted) : m_interrupted(interrupted) {}
    void Attach(CZelkoraDoc* doc) { m_pDoc = doc; }

    void Begin(const CTestCase& c)
    {
        m_case = &c;
        m_nextInput = 0;
        m_nOutput = 0;
        m_bInputShort = false;
        m_outputReason.clear();
        m_runMessage.clear();
    }
    bool InputShort() const { return m_bInputShort; }
    const std::string& OutputReason() const { return m_outputReason; }
    const std::string& RunMessage() const { return m_runMessage; }
    // After a normal end: the expected lines the program did not write.
    std::string MissingOutput() const
    {
        if (!m_case->ChecksOutput() || m_nOutput >= m_case->output.size()) return {};
        return "出力 " + std::to_string(m_nOutput + 1) + " 行目がありません: 期待 " + Shown(m_case->output[m_nOutput]);
    }

    void ShowMessage(int messageId, MessageIcon, const std::string& text) override
    {
        if (messageId != MSG_ASSEMBLE_OK && messageId != MSG_ASSEMBLE_ERRORS) m_runMessage = text;
    }
    void Beep() override {}
    bool RunKeyInputDialog(std::string& line) override
    {
        if (m_nextInput < m_case->input.size()) {
            line = m_case->input[m_nextInput++];
            return true;
        }
        if (m_case->inputEnds) return false;
        // Reading past the lines given is the program's fault unless the case ends its input.
        m_bInputShort = true;
        m_pDoc->Stop();
        return false;
    }
    const CDeviceSettings& GetDeviceSettings() override { return m_settings; }
    void OnOutputLine(std::string_view text) override
    {
        const size_t index = m_nOutput++;
        if (!m_outputReason.empty() || !m_case->ChecksOutput()) return;
        const auto& expected = m_case->output;
        if (index >= expected.size()) {
            m_outputReason = "出力 " + std::to_string(index + 1) + " 行目が余分です: " + Shown(text);
        } else {
            const bool same = m_case->ignoreTrailingSpaces
                                  ? WithoutTrailingSpaces(text) == WithoutTrailingSpaces(expected[index])
                                  : text == expected[index];
            if (same) return;
            m_outputReason = "出力 " + std::to_string(index + 1) + " 行目が違います: 期待 " + Shown(expected[index]) +
                             "、実際 " + Shown(text);
        }
        // The verdict is known: the rest of the run would change nothing.
        m_pDoc->Stop();
    }
    void EnterRunningState() override {}
    void LeaveRunningState() override {}
    void AdvanceRunIndicator() override {}
    void PumpMessages() override
    {
        if (m_interrupted && m_interrupted->load(std::memory_order_relaxed)) m_pDoc->Stop();
    }
    bool OpenSimulatorWindow(CZelkoraDoc&) override { return true; }
    void CloseSimulatorWindow(CZelkoraDoc&) override {}

private:
    const std::atomic<bool>* m_interrupted;
    CZelkoraDoc* m_pDoc = nullptr;
    CDeviceSettings m_settings;
    const CTestCase* m_case = nullptr;
    size_t m_nextInput = 0;
    size_t m_nOutput = 0;
    bool m_bInputShort = false;
    std::string m_outputReason;
    std::string m_runMessage;
};

CCaseResult EmptyResult(const CTestCase& c)
{
    CCaseResult result;
    result.name = c.name;
    result.maxPoints = c.points;
    return result;
}

bool Interrupted(const std::atomic<bool>* interrupted) { return interrupted && interrupted->load(); }

// The verdict of a run that has ended, in the order a student should read about it.
std::string Verdict(const CTestCase& c, CZelkoraDoc& doc, const CGradingHost& host)
{
    if (!host.OutputReason().empty()) return host.OutputReason();
    if (host.InputShort())
        return "入力が足りません: " + std::to_string(c.input.size()) +
               " 行を読んだ後にまた IN を実行しました (入力の終わりを渡すならケースに eof を書きます)";
    const CCometCore& core = doc.GetCore();
    switch (core.GetLastRunEnd()) {
    case RunEnd::ProgramEnd: break;
    case RunEnd::StepLimit:
        return "ステップ数の上限 " + std::to_string(c.steps) + " に達しました (終わらないループ?)";
    case RunEnd::NotExecutable:
    case RunEnd::CodeOverwritten: return "実行エラー: " + host.RunMessage();
    default: return "実行が途中で止まりました";
    }
    if (std::string missing = host.MissingOutput(); !missing.empty()) return missing;
    std::string reason;
    for (const auto& value : c.expected)
        if (!CheckExpectedValue(value, core.GetRegisters(), core.GetMemory(), doc.GetAssembler().GetLabels(), reason))
            return reason;
    return {};
}
}  // namespace

CSubmissionResult UnreadableSubmission(std::string path, const std::string& reason, const CTestSuite& suite)
{
    CSubmissionResult result;
    result.path = std::move(path);
    result.problem = "読めません: " + reason;
    for (const auto& c : suite.cases) {
        result.cases.push_back(EmptyResult(c));
        result.cases.back().reason = result.problem;
    }
    result.complete = true;
    return result;
}

CSubmissionResult GradeSubmission(std::string path, std::string_view source, const CTestSuite& suite,
                                  const std::atomic<bool>* interrupted)
{
    return GradeProgram(std::move(path), TextToCp932(source), suite, interrupted);
}

CSubmissionResult GradeProgram(std::string path, std::string cp932, const CTestSuite& suite,
                               const std::atomic<bool>* interrupted, const std::function<void()>& caseDone)
{
    CSubmissionResult result;
    result.path = std::move(path);
    CGradingHost host(interrupted);
    CZelkoraDoc doc(host);
    host.Attach(&doc);
    doc.SetSourceText(std::move(cp932));
    if (!doc.AssembleAndLoad()) {
        for (const auto& error : doc.GetAssembler().GetErrors()) result.assemblyErrors.push_back(error->GetText());
        result.problem = "アセンブルできません (" + std::to_string(result.assemblyErrors.size()) + " 個のエラー)";
        for (const auto& c : suite.cases) {
            result.cases.push_back(EmptyResult(c));
            result.cases.back().reason = result.problem;
        }
        result.complete = true;
        return result;
    }
    CCometCore& core = doc.GetCore();
    for (const auto& c : suite.cases) {
        if (Interrupted(interrupted)) return result;
        doc.ResetMachine();
        core.SetHistoryEnabled(false);
        core.SetStepLimit(c.steps);
        host.Begin(c);
        doc.Run(RUN_GO);
        if (Interrupted(interrupted)) return result;  // a verdict on half a run would be wrong
        CCaseResult r = EmptyResult(c);
        r.steps = core.GetExecutedCount();
        r.reason = Verdict(c, doc, host);
        r.passed = r.reason.empty();
        r.points = r.passed ? c.points : 0;
        result.cases.push_back(std::move(r));
        if (caseDone) caseDone();
    }
    result.complete = true;
    return result;
}
