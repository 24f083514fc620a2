#include "shell/source_frame.h"

#include <QCloseEvent>
#include "resources/command_ids.h"
#include "shell/exercise_tests.h"
#include "shell/layout_store.h"
#include "shell/shell_ui.h"
#include "shell/source_view.h"
#include "shell/zelkora_app.h"
#include "simulator/zelkora_doc.h"
#include "views/output_view.h"

CSourceFrame::CSourceFrame(CZelkoraApp& app, CZelkoraDoc& doc, QWidget* parent)
    : CChildFrame(doc, parent), m_app(app), m_pSplitter(MakeSplitter(Qt::Vertical, this))
{
    m_pEditor = new CSourceView(doc, m_pSplitter);
    m_pOutput = new COutputView(doc, m_pSplitter);
    setWidget(m_pSplitter);
    SetActiveView(m_pEditor);
    setWindowIcon(QIcon(":/icons/app.svg"));
}

// However the window goes, its layout is stored here, once.
CSourceFrame::~CSourceFrame() { StoreLayout(); }

void CSourceFrame::InitialLayout()
{
    // Row 0 takes 75 % of the window's height; the error list gets what is left.
    const int available = m_pSplitter->height() - m_pSplitter->handleWidth();
    const int stored = ReadWindowInt("SourceSplit", -1);
    const int top = stored > 0 ? FitSplitSize(stored, available) : height() * 75 / 100;
    m_pSplitter->setSizes({top, std::max(1, available - top)});
    m_pEditor->setFocus();
}

QString CSourceFrame::GetCaption() const { return "Source - " + QString::fromStdString(GetDocument().GetSourcePath()); }

void CSourceFrame::StoreLayout()
{
    StorePlacement("SourceFrame");
    WriteWindowValue("SourceSplit", m_pSplitter->sizes().value(0));
}

void CSourceFrame::closeEvent(QCloseEvent* event)
{
    // While the program's simulator window is open the source window stays (its close
    // item is greyed then); otherwise closing it closes the document, whose text it holds.
    if (GetDocument().FindViewByClass(kSimulateViewClass) || !m_app.CloseDocumentFromFrame(this)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

bool CSourceFrame::OnCommand(int id)
{
    if (id == ID_RUN_TESTS) {
        RunTests();
        return true;
    }
    if (id != ID_ASSEMBLE) return false;
    GetDocument().AssembleAndLoad();
    return true;
}

bool CSourceFrame::OnUpdateCommand(CCmdUI& ui)
{
    if (ui.id == ID_RUN_TESTS) {
        ui.Enable(!TestFileBeside(GetDocument().GetSourcePath()).isEmpty());
        return true;
    }
    return ui.id == ID_ASSEMBLE;
}

void CSourceFrame::RunTests()
{
    auto run = std::make_shared<CExerciseRun>();
    if (RunExerciseTests(GetDocument(), m_app.GetUi(), this, *run)) ShowTestResults(run);
}

void CSourceFrame::ShowTestResults(const std::shared_ptr<const CExerciseRun>& run)
{
    m_pOutput->ShowResults(ExerciseResultLines(*run), [this, run](int line) { OpenCase(run, line - 1); });
}

void CSourceFrame::OpenCase(const std::shared_ptr<const CExerciseRun>& run, int index)
{
    // The first line is the totals, the lines after the cases the assembly errors.
    if (index < 0 || index >= static_cast<int>(run->suite.cases.size())) {
        m_app.GetUi().Beep();
        return;
    }
    CZelkoraDoc& doc = GetDocument();
    // Assembled as F7 does; wrong lines then show in the pane as after F7.
    if (!doc.AssembleAndLoad()) return;
    const CTestCase& c = run->suite.cases[static_cast<size_t>(index)];
    doc.SetCaseInput(c.input, c.inputEnds);
    ShowTestResults(run);
}
