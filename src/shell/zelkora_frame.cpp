#include "shell/zelkora_frame.h"

#include <QCloseEvent>
#include <QHeaderView>
#include "resources/command_ids.h"
#include "shell/first_layout.h"
#include "shell/layout_store.h"
#include "shell/zelkora_app.h"
#include "simulator/zelkora_doc.h"
#include "views/pane.h"
#include "views/register_dlg.h"
#include "views/register_view.h"
#include "views/simulate_view.h"
#include "views/stack_view.h"
#include "views/symbol_view.h"
#include "views/watch_view.h"
#include "views/work_views.h"

namespace {
CView* AsView(QWidget* widget) { return dynamic_cast<CView*>(widget); }
}  // namespace

CZelkoraFrame::CZelkoraFrame(CZelkoraApp& app, CZelkoraDoc& doc, int workView, QWidget* parent)
    : CChildFrame(doc, parent), m_app(app)
{
    // The listing gets the whole height above the work pane; the registers, which need
    // all their rows but little height, share the column beside it with the stack and
    // labels (reading order, which the panes' Tab order follows: listing, registers,
    // stack, labels, work pane).
    m_pOuter = MakeSplitter(Qt::Vertical, this);
    m_pMiddle = MakeSplitter(Qt::Horizontal, m_pOuter);
    auto* listing = new CSimulateView(doc, m_pMiddle);
    m_pRight = MakeSplitter(Qt::Vertical, m_pMiddle);
    auto* registers = new CRegisterView(doc, m_pRight);
    m_pStackLabels = MakeSplitter(Qt::Horizontal, m_pRight);
    auto* stack = new CStackView(doc, m_pStackLabels);
    auto* symbols = new CSymbolView(doc, m_pStackLabels);
    for (CView* view : std::initializer_list<CView*>{listing, registers, stack, symbols}) view->OnInitialUpdate();
    m_pOuter->addWidget(CreateWorkView(WorkViewForSetting(workView)));
    setWidget(m_pOuter);
    SetActiveView(listing);
    setWindowIcon(QIcon(":/icons/app.svg"));
}

// However the window goes (closed by the user, by Assemble, with the document), its
// layout is stored here, once.
CZelkoraFrame::~CZelkoraFrame() { StoreLayout(); }

QWidget* CZelkoraFrame::CreateWorkView(const CWorkViewKind& kind)
{
    QWidget* view = kind.create(GetDocument());
    if (CView* v = AsView(view)) v->OnInitialUpdate();
    return view;
}

void CZelkoraFrame::InitialLayout()
{
    const auto* listing = findChild<CSimulateView*>();
    const auto* registers = findChild<CRegisterView*>();
    CSimulatorMetrics metrics;
    metrics.listRow = listing->GetRowHeight();
    metrics.listChrome = listing->header()->sizeHint().height() + 2 * listing->frameWidth();
    metrics.registersWidth = registers->GetColumnsWidth();
    metrics.dumpLine = listing->fontMetrics().height();
    metrics.dumpChrome = 2 * listing->frameWidth();
    metrics.handle = m_pOuter->handleWidth();
    const CSimulatorSplit split = FirstSimulatorSplit(m_pOuter->size(), metrics);
    int first[4] = {split.top, split.listingWidth, split.registersHeight, split.stackWidth};

    // "SimulateSplit" holds the sizes that mean what they meant when the listing shared its
    // column with the registers: the height above the work pane and the listing's width. Its
    // last two numbers were that column's and the stack's heights; no splitter has them now,
    // so they are written as -1 (keep), and the registers' height and the stack's width have
    // "SimulatePanes". A layout stored before keeps what still applies and nothing is put
    // where it does not belong.
    QVector<int> stored, panes;
    const bool restore = ParseIntegers(ReadWindowValue("SimulateSplit"), 4, stored);
    if (restore) {
        const bool own = ParseIntegers(ReadWindowValue("SimulatePanes"), 2, panes);
        stored[2] = own ? panes[0] : -1;
        stored[3] = own ? panes[1] : -1;
    }

    // Outer first: the inner splitters take their sizes from the space it gives them.
    QSplitter* splitters[] = {m_pOuter, m_pMiddle, m_pRight, m_pStackLabels};
    for (int i = 0; i < 4; ++i) {
        QSplitter* s = splitters[i];
        const int available = (s->orientation() == Qt::Vertical ? s->height() : s->width()) - s->handleWidth();
        if (restore && stored[i] != -1) first[i] = FitSplitSize(stored[i], available);
        s->setSizes({first[i], std::max(1, available - first[i])});
        s->refresh();
    }
    if (restore) RestorePlacement("SimulateFrame");
}

void CZelkoraFrame::StoreLayout()
{
    StorePlacement("SimulateFrame");
    WriteWindowValue("SimulateSplit",
                     QString::asprintf("%d %d -1 -1", m_pOuter->sizes().value(0), m_pMiddle->sizes().value(0)));
    WriteWindowValue("SimulatePanes",
                     QString::asprintf("%d %d", m_pRight->sizes().value(0), m_pStackLabels->sizes().value(0)));
}

QWidget* CZelkoraFrame::GetWorkView() const { return m_pOuter->widget(1); }

const char* CZelkoraFrame::GetWorkViewClass() const
{
    const CView* view = AsView(GetWorkView());
    return view ? view->GetClassName() : "";
}

void CZelkoraFrame::SwitchWorkView(int commandId)
{
    const CWorkViewKind* kind = FindWorkViewKind(commandId);
    if (!kind || std::string_view(GetWorkViewClass()) == kind->className) return;

    QWidget* old = GetWorkView();
    const bool wasActive = GetActiveView() == old;
    const QList<int> sizes = m_pOuter->sizes();
    // The old view hears no more hints from the moment it is replaced.
    if (auto* pane = dynamic_cast<CPane*>(old)) pane->Detach();
    QWidget* view = CreateWorkView(*kind);
    m_pOuter->replaceWidget(1, view);
    old->deleteLater();
    m_pOuter->setSizes(sizes);
    if (wasActive) {
        SetActiveView(view);
        view->setFocus();
    }
}

void CZelkoraFrame::RunRegisterDialog()
{
    CRegisterDlg dialog(GetDocument(), 0, this);
    if (dialog.exec() == QDialog::Accepted) GetDocument().SetRegisters(nullptr, dialog.GetValues());
}

bool CZelkoraFrame::OnCommand(int id)
{
    CZelkoraDoc& doc = GetDocument();
    switch (id) {
    case ID_RUN_GO: doc.Run(RUN_GO); return true;
    case ID_RUN_TRACE: doc.Run(RUN_TRACE); return true;
    case ID_RUN_PASS: doc.Run(RUN_PASS); return true;
    case ID_STEP_BACK: doc.StepBack(); return true;
    case ID_BACK_TO_RUN_START: doc.BackToRunStart(); return true;
    case ID_SAVE_TRACE_TABLE: m_app.SaveTraceTable(); return true;
    case ID_RESTART: doc.Restart(nullptr); return true;
    case ID_BP_CLEAR_ALL: doc.ClearBreakpoints(nullptr); return true;
    case ID_SET_REGISTER: RunRegisterDialog(); return true;
    case ID_WATCH_ADD:
        if (auto* watches = dynamic_cast<CWatchView*>(GetWorkView())) watches->AddWatch();
        return true;
    default: break;
    }
    if (!FindWorkViewKind(id)) return false;
    SwitchWorkView(id);
    return true;
}

bool CZelkoraFrame::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.id) {
    case ID_RUN_GO:
    case ID_RUN_TRACE:
    case ID_RUN_PASS:
    case ID_RESTART:
    case ID_BP_CLEAR_ALL:
    case ID_SET_REGISTER: return true;
    // Each as far as it can still do something: the trace table does not need steps to take back.
    case ID_STEP_BACK:
    case ID_BACK_TO_RUN_START: ui.Enable(GetDocument().CanStepBack()); return true;
    case ID_SAVE_TRACE_TABLE: ui.Enable(GetDocument().HasTraceTable()); return true;
    case ID_WATCH_ADD: ui.Enable(dynamic_cast<CWatchView*>(GetWorkView()) != nullptr); return true;
    default: break;
    }
    const CWorkViewKind* kind = FindWorkViewKind(ui.id);
    if (!kind) return false;
    ui.SetCheck(std::string_view(GetWorkViewClass()) == kind->className);
    return true;
}
