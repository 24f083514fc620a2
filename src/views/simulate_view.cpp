#include "views/simulate_view.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <cstdio>
#include "machine/hex.h"
#include "resources/command_ids.h"
#include "simulator/zelkora_doc.h"
#include "views/drag_drop.h"
#include "views/image_list.h"

namespace {
enum : int {
    kImageNoBreakpoint = 2,
    kImageBreakpoint = 3,
    kImageBreakpointRing = 4,  // under the small arrow, when PR is on a breakpoint
    kOverlayPR = 1,
    kOverlayPRInRing = 2,
};

// The source window cannot be closed while its program's listing is open: the
// close item of its window menu is greyed meanwhile.
void EnableSourceWindowClose(CZelkoraDoc& doc, bool enable)
{
    auto* editor = dynamic_cast<QWidget*>(doc.FindViewByClass(kSourceViewClass));
    QMdiSubWindow* window = nullptr;
    for (QWidget* w = editor; w && !window; w = w->parentWidget()) window = qobject_cast<QMdiSubWindow*>(w);
    if (!window || !window->systemMenu()) return;
    for (QAction* action : window->systemMenu()->actions())
        if (action->shortcuts().contains(QKeySequence(QKeySequence::Close))) action->setEnabled(enable);
}
}  // namespace

CSimulateView::CSimulateView(CZelkoraDoc& doc, QWidget* parent) : CListViewEx(doc, Selection::Single, parent)
{
    SetImageList(&ListingMarkers());
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    EnableSourceWindowClose(m_doc, false);
}

CSimulateView::~CSimulateView()
{
    Detach();
    m_doc.SimulatorWindowClosed();
    EnableSourceWindowClose(m_doc, true);
}

void CSimulateView::OnInitialUpdate()
{
    AddColumn("ADDR", 8, Qt::AlignLeft);
    AddColumn("Source Line", 60, Qt::AlignLeft);
    const CMnemonicArray& program = m_doc.GetProgram();
    m_firstExecutableRow.assign(CMemory::kSize, -1);
    m_lastRow.assign(CMemory::kSize, -1);
    CListRowStore& rows = GetRows();
    rows.BeginAddRows();
    for (size_t i = 0; i < program.GetSize(); ++i) {
        const CMnemonic* statement = program[i];
        const int row =
            rows.AddRow({Hex4(statement->GetAddress()), statement->GetExpandedSource(CListRowStore::kTextCapacity)},
                        kImageNoBreakpoint, reinterpret_cast<std::uintptr_t>(statement));
        const WORD at = statement->GetAddress();
        m_lastRow[at] = row;
        if (statement->IsExecutable() && m_firstExecutableRow[at] < 0) m_firstExecutableRow[at] = row;
    }
    rows.EndAddRows();
}

CMnemonic* CSimulateView::GetStatement(int row) const
{
    if (row < 0 || row >= GetRows().GetRowCount()) return nullptr;
    return reinterpret_cast<CMnemonic*>(GetRows().GetData(row));
}

CMnemonic* CSimulateView::GetSelectedStatement() const { return GetStatement(GetSelectedRow()); }

void CSimulateView::PrepareItem(int row, CListItem& item) const
{
    const CMnemonic* statement = GetStatement(row);
    if (!statement) return;
    const bool breakpoint = statement->HasBreakpoint();
    const bool pr = statement->IsExecutable() && statement->GetAddress() == m_doc.GetCore().GetRegisters()[REG_PR];
    // Both markers show when PR sits on a breakpoint: the arrow inside the breakpoint's ring.
    item.image = breakpoint ? (pr ? kImageBreakpointRing : kImageBreakpoint) : kImageNoBreakpoint;
    item.state &= ~LIST_STATE_OVERLAY_MASK;
    if (pr) item.state |= OverlayState(breakpoint ? kOverlayPRInRing : kOverlayPR);
    if (const auto last = m_doc.GetChangeMarks().GetLastRun(); last && row == m_firstExecutableRow[*last])
        item.state |= LIST_STATE_TINTED;
}

void CSimulateView::SelectAddress(WORD address)
{
    if (m_lastRow.empty() || m_lastRow[address] < 0) return;
    const int row = m_lastRow[address];
    SelectRow(row);
    EnsureRowVisible(row);
    FullRedraw();
}

void CSimulateView::ScrollToPR()
{
    if (m_firstExecutableRow.empty()) return;
    KeepRowInBand(m_firstExecutableRow[m_doc.GetCore().GetRegisters()[REG_PR]]);
}

void CSimulateView::OnUpdate(CView*, int hint, CHintUpdateView* object)
{
    switch (hint) {
    case HINT_LISTING_GOTO:
        if (object) SelectAddress(object->m_wAddress);
        break;
    // A memory edit is a new command too: the last one's statement loses its tint.
    case HINT_MEMORY_EDITED:
    case HINT_REGISTERS_CHANGED:
    case HINT_BREAKPOINTS_CLEARED: FullRedraw(); break;
    case HINT_MACHINE_STATE:
        ScrollToPR();
        FullRedraw();
        break;
    default: break;
    }
}

void CSimulateView::SetPRAtCursor()
{
    const CMnemonic* statement = GetSelectedStatement();
    if (statement && m_doc.SetPRAt(this, *statement)) FullRedraw();
}

bool CSimulateView::OnCommand(int id)
{
    CMnemonic* statement = GetSelectedStatement();
    switch (id) {
    case ID_BP_TOGGLE:
        if (statement && m_doc.ToggleBreakpoint(*statement)) RedrawRow(GetSelectedRow());
        return true;
    case ID_RUN_TO_CURSOR:
        if (!statement) return true;
        if (statement->IsExecutable())
            m_doc.Run(RUN_TO_ADDRESS, statement->GetAddress());
        else
            Beep();
        return true;
    case ID_SET_PR: SetPRAtCursor(); return true;
    default: return false;
    }
}

bool CSimulateView::OnUpdateCommand(CCmdUI& ui)
{
    const CMnemonic* statement = GetSelectedStatement();
    switch (ui.id) {
    case ID_BP_TOGGLE:
    case ID_RUN_TO_CURSOR: ui.Enable(statement && statement->IsExecutable()); return true;
    case ID_SET_PR: ui.Enable(statement != nullptr); return true;
    default: return false;
    }
}

void CSimulateView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) SetPRAtCursor();
    CListViewEx::mouseDoubleClickEvent(event);
}

void CSimulateView::contextMenuEvent(QContextMenuEvent* event) { ShowPopupMenu(131, event); }

void CSimulateView::dragEnterEvent(QDragEnterEvent* event) { AcceptBlockDrag(event, {kSymbolFormat}); }

void CSimulateView::dragMoveEvent(QDragMoveEvent* event) { AcceptBlockDrag(event, {kSymbolFormat}); }

void CSimulateView::dropEvent(QDropEvent* event)
{
    CDragBlock block;
    if (!TakeBlockDrop(event, {kSymbolFormat}, block)) return;
    CHintUpdateView hint;
    hint.m_wAddress = block.value;
    m_doc.UpdateAllViews(nullptr, HINT_LISTING_GOTO, &hint);
    setFocus(Qt::OtherFocusReason);
}
