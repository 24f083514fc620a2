#include "shell/zelkora_frame.h"

#include <QCloseEvent>
#include "resources/command_ids.h"
#include "shell/layout_store.h"
#include "shell/zelkora_app.h"
#include "simulator/zelkora_doc.h"
#include "views/device_view.h"
#include "views/state_pane.h"

namespace {
int WorkViewCommand(int workView)
{
    return workView == 0 ? ID_VIEW_DUMP : workView == 1 ? ID_VIEW_WATCH : ID_VIEW_OUTPUT;
}

CView* AsView(QWidget* widget)
{
    return dynamic_cast<CView*>(widget);
}
}  // namespace

CZelkoraFrame::CZelkoraFrame(CZelkoraApp& app, CZelkoraDoc& doc, int workView, QWidget* parent)
    : CChildFrame(doc, parent), m_app(app)
{
    m_pOuter = MakeSplitter(Qt::Vertical, this);
    m_pMiddle = MakeSplitter(Qt::Horizontal, m_pOuter);
    m_pLeft = MakeSplitter(Qt::Vertical, m_pMiddle);
    m_pRight = MakeSplitter(Qt::Vertical, m_pMiddle);
    auto* listing = new CStatePane(doc, "CSimulateView", RenderListing, m_pLeft);
    auto* registers = new CStatePane(doc, "CRegisterView", RenderRegisters, m_pLeft);
    auto* stack = new CStatePane(doc, "CStackView", RenderStack, m_pRight);
    auto* symbols = new CStatePane(doc, "CSymbolView", RenderSymbols, m_pRight);
    for (CStatePane* pane : {listing, registers, stack, symbols}) pane->InitialUpdate();
    m_pOuter->addWidget(CreateWorkView(WorkViewCommand(workView)));
    setWidget(m_pOuter);
    SetActiveView(listing);
    setWindowIcon(QIcon(":/icons/app.svg"));
}

CZelkoraFrame::~CZelkoraFrame() = default;

QWidget* CZelkoraFrame::CreateWorkView(int commandId)
{
    CZelkoraDoc& doc = GetDocument();
    switch (commandId) {
    case ID_VIEW_OUTPUT: {
        auto* view = new CDeviceView(doc);
        view->InitialUpdate();
        return view;
    }
    case ID_VIEW_WATCH: {
        auto* view = new CStatePane(doc, "CWatchView", [](const CZelkoraDoc&) { return std::string(); });
        view->InitialUpdate();
        return view;
    }
    default: {
        auto* view = new CStatePane(doc, "CDumpView", RenderDump);
        view->InitialUpdate();
        return view;
    }
    }
}

void CZelkoraFrame::InitialLayout()
{
    // From the window's size: the top area 75 % of the height, the left column 80 % of
    // the width, the listing half and the stack 30 % of the top area.
    const int w = width(), h = height();
    const int top = h * 75 / 100;
    int first[4] = {top, w * 80 / 100, top * 50 / 100, top * 30 / 100};

    QVector<int> stored;
    const bool restore = ParseIntegers(ReadWindowValue("SimulateSplit"), 4, stored);
    if (restore)
        for (int i = 0; i < 4; ++i)
            if (stored[i] != -1) first[i] = stored[i];

    // Outer first: the inner splitters take their sizes from the space it gives them.
    QSplitter* splitters[] = {m_pOuter, m_pMiddle, m_pLeft, m_pRight};
    for (int i = 0; i < 4; ++i) {
        QSplitter* s = splitters[i];
        const int available =
            (s->orientation() == Qt::Vertical ? s->height() : s->width()) - s->handleWidth();
        s->setSizes({first[i], std::max(1, available - first[i])});
        if (i == 0) m_pOuter->refresh();
    }
    if (restore) RestorePlacement("SimulateFrame");
}

void CZelkoraFrame::StoreLayout()
{
    if (m_bStored) return;
    m_bStored = true;
    StorePlacement("SimulateFrame");
    WriteWindowValue("SimulateSplit", QString::asprintf("%d %d %d %d", m_pOuter->sizes().value(0),
                                                        m_pMiddle->sizes().value(0), m_pLeft->sizes().value(0),
                                                        m_pRight->sizes().value(0)));
}

void CZelkoraFrame::closeEvent(QCloseEvent* event)
{
    GetDocument().CloseDeviceFiles();
    StoreLayout();
    QMdiSubWindow::closeEvent(event);
}

QWidget* CZelkoraFrame::GetWorkView() const
{
    return m_pOuter->widget(1);
}

const char* CZelkoraFrame::GetWorkViewClass() const
{
    const CView* view = AsView(GetWorkView());
    return view ? view->GetClassName() : "";
}

void CZelkoraFrame::SwitchWorkView(int commandId)
{
    static const std::pair<int, const char*> kClasses[] = {
        {ID_VIEW_DUMP, "CDumpView"}, {ID_VIEW_WATCH, "CWatchView"}, {ID_VIEW_OUTPUT, "CDeviceView"}};
    for (const auto& [id, name] : kClasses)
        if (id == commandId && std::string_view(GetWorkViewClass()) == name) return;

    QWidget* old = GetWorkView();
    const bool wasActive = GetActiveView() == old;
    const QList<int> sizes = m_pOuter->sizes();
    QWidget* view = CreateWorkView(commandId);
    m_pOuter->replaceWidget(1, view);
    old->deleteLater();
    m_pOuter->setSizes(sizes);
    if (wasActive) {
        SetActiveView(view);
        view->setFocus();
    }
}

bool CZelkoraFrame::OnCommand(int id)
{
    CZelkoraDoc& doc = GetDocument();
    switch (id) {
    case ID_RUN_GO: doc.Run(RUN_GO); return true;
    case ID_RUN_TRACE: doc.Run(RUN_TRACE); return true;
    case ID_RUN_PASS: doc.Run(RUN_PASS); return true;
    case ID_RESTART:
        doc.ResetMachine();
        doc.UpdateAllViews(nullptr, HINT_MACHINE_STATE);
        return true;
    case ID_BP_CLEAR_ALL: doc.ClearBreakpoints(); return true;
    case ID_VIEW_DUMP:
    case ID_VIEW_WATCH:
    case ID_VIEW_OUTPUT: SwitchWorkView(id); return true;
    default: return false;
    }
}

bool CZelkoraFrame::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.id) {
    case ID_RUN_GO:
    case ID_RUN_TRACE:
    case ID_RUN_PASS:
    case ID_RESTART:
    case ID_BP_CLEAR_ALL: return true;
    case ID_VIEW_DUMP: ui.SetCheck(std::string_view(GetWorkViewClass()) == "CDumpView"); return true;
    case ID_VIEW_WATCH: ui.SetCheck(std::string_view(GetWorkViewClass()) == "CWatchView"); return true;
    case ID_VIEW_OUTPUT: ui.SetCheck(std::string_view(GetWorkViewClass()) == "CDeviceView"); return true;
    default: return false;
    }
}
