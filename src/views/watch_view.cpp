#include "views/watch_view.h"

#include <QDropEvent>
#include <QMouseEvent>
#include "resources/command_ids.h"
#include "simulator/zelkora_doc.h"
#include "views/drag_drop.h"
#include "views/watch_dlg.h"

CWatchView::CWatchView(CZelkoraDoc& doc, QWidget* parent) : CListViewEx(doc, Selection::Multiple, parent)
{
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

void CWatchView::OnInitialUpdate()
{
    AddColumn("WATCH", 10, Qt::AlignLeft);
    AddColumn("VALUES", 80, Qt::AlignLeft);
    for (const auto& watch : m_doc.GetWatches())
        GetRows().AddRow({watch->GetTarget()}, 0, reinterpret_cast<std::uintptr_t>(watch.get()));
}

CWatchInfo* CWatchView::GetWatch(int row) const
{
    if (row < 0 || row >= GetRows().GetRowCount()) return nullptr;
    return reinterpret_cast<CWatchInfo*>(GetRows().GetData(row));
}

void CWatchView::PrepareSubItemText(int row, int column, std::string& text) const
{
    const CWatchInfo* watch = GetWatch(row);
    if (column != 1 || !watch) return;
    const CCometCore& core = m_doc.GetCore();
    text = FormatWatchValue(*watch, core.GetRegisters(), core.GetMemory(), &m_doc.GetAssembler().GetLabels());
}

bool CWatchView::IsValueChanged(int row, int column) const
{
    const CWatchInfo* watch = GetWatch(row);
    if (column != 1 || !watch) return false;
    const CCometCore& core = m_doc.GetCore();
    return m_doc.GetChangeMarks().IsWatchChanged(*watch, core.GetRegisters(), core.GetMemory(),
                                                 &m_doc.GetAssembler().GetLabels());
}

void CWatchView::OnUpdate(CView*, int hint, CHintUpdateView*)
{
    if (hint == HINT_MEMORY_EDITED || hint == HINT_REGISTERS_CHANGED || hint == HINT_MACHINE_STATE) FullRedraw();
}

void CWatchView::AddWatch(const std::string& preset)
{
    CWatchDlg dialog(m_doc, QString::fromUtf8("ｳｫｯﾁの新規追加"), window());
    dialog.SetValues(preset, 1, 0);
    if (dialog.exec() != QDialog::Accepted) return;
    CWatchInfo& watch = m_doc.GetWatches().Add(dialog.GetTarget(), dialog.GetLength(), dialog.GetFormat());
    GetRows().AddRow({watch.GetTarget()}, 0, reinterpret_cast<std::uintptr_t>(&watch));
}

void CWatchView::ChangeWatch()
{
    const int row = GetSelectedRow();
    CWatchInfo* watch = GetWatch(row);
    if (!watch) return;
    CWatchDlg dialog(m_doc, QString::fromUtf8("ｳｫｯﾁの変更"), window());
    dialog.SetValues(watch->GetTarget(), watch->GetLength(), watch->GetFormat());
    if (dialog.exec() != QDialog::Accepted) return;
    watch->Set(dialog.GetTarget(), dialog.GetLength(), dialog.GetFormat());
    GetRows().SetText(row, 0, watch->GetTarget());
    RedrawRow(row);
}

void CWatchView::DeleteWatches()
{
    for (int row = GetSelectedRow(); row >= 0; row = GetSelectedRow()) {
        const CWatchInfo* watch = GetWatch(row);
        GetRows().RemoveRow(row);
        m_doc.GetWatches().Remove(watch);
    }
    FullRedraw();
}

bool CWatchView::OnCommand(int id)
{
    switch (id) {
    case ID_WATCH_CHANGE: ChangeWatch(); return true;
    case ID_WATCH_DELETE: DeleteWatches(); return true;
    default: return false;
    }
}

bool CWatchView::OnUpdateCommand(CCmdUI& ui)
{
    switch (ui.id) {
    case ID_WATCH_CHANGE: ui.Enable(GetSelectedRows().size() == 1); return true;
    case ID_WATCH_DELETE: ui.Enable(GetSelectedRow() >= 0); return true;
    default: return false;
    }
}

void CWatchView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) ChangeWatch();
    CListViewEx::mouseDoubleClickEvent(event);
}

void CWatchView::contextMenuEvent(QContextMenuEvent* event) { ShowPopupMenu(103, event); }

void CWatchView::dragEnterEvent(QDragEnterEvent* event) { AcceptBlockDrag(event, {kSymbolFormat, kRegisterFormat}); }

void CWatchView::dragMoveEvent(QDragMoveEvent* event) { AcceptBlockDrag(event, {kSymbolFormat, kRegisterFormat}); }

void CWatchView::dropEvent(QDropEvent* event)
{
    CDragBlock block;
    const char* format = nullptr;
    if (!TakeBlockDrop(event, {kSymbolFormat, kRegisterFormat}, block, &format)) return;
    const std::string target = format == kRegisterFormat ? "$" + block.name : block.name;
    // The dialog opens once the drag is over, so that the source is not kept waiting.
    QMetaObject::invokeMethod(
        this, [this, target] { AddWatch(target); }, Qt::QueuedConnection);
}
