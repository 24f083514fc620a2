#include "views/register_view.h"

#include <QMouseEvent>
#include "simulator/register_text.h"
#include "simulator/zelkora_doc.h"
#include "views/drag_drop.h"
#include "views/register_dlg.h"

CRegisterView::CRegisterView(CZelkoraDoc& doc, QWidget* parent) : CListViewEx(doc, Selection::Single, parent)
{
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
}

void CRegisterView::OnInitialUpdate()
{
    struct Column {
        const char* header;
        int width;
        Qt::Alignment alignment;
    };
    static const Column kColumns[] = {{"REG", 8, Qt::AlignLeft},      {"Hex", 7, Qt::AlignRight},
                                      {"Signed", 10, Qt::AlignRight}, {"Unsigned", 10, Qt::AlignRight},
                                      {"Binary", 22, Qt::AlignRight}, {"Chr", 5, Qt::AlignRight}};
    for (const Column& c : kColumns) AddColumn(c.header, c.width, c.alignment);
    for (int index = 0; index < REG_COUNT; ++index)
        GetRows().AddRow({GetRegisterName(index)}, 0, static_cast<std::uintptr_t>(index));
}

void CRegisterView::PrepareSubItemText(int row, int column, std::string& text) const
{
    text = FormatRegisterCell(m_doc.GetCore().GetRegisters(), static_cast<int>(GetRows().GetData(row)), column);
}

// Every value cell of a register that changed; the name stays as it is.
bool CRegisterView::IsValueChanged(int row, int column) const
{
    return column > 0 && m_doc.GetChangeMarks().IsRegisterChanged(static_cast<int>(GetRows().GetData(row)),
                                                                  m_doc.GetCore().GetRegisters());
}

void CRegisterView::OnUpdate(CView*, int hint, CHintUpdateView*)
{
    // A memory edit changes no register, but it is a new command: the marks of the last one go.
    if (hint == HINT_MEMORY_EDITED || hint == HINT_REGISTERS_CHANGED || hint == HINT_MACHINE_STATE) FullRedraw();
}

void CRegisterView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int row = GetSelectedRow();
    if (event->button() == Qt::LeftButton && row >= 0) {
        CRegisterDlg dialog(m_doc, row, window());
        if (dialog.exec() == QDialog::Accepted) {
            FullRedraw();
            m_doc.SetRegisters(this, dialog.GetValues());
        }
    }
    CListViewEx::mouseDoubleClickEvent(event);
}

bool CRegisterView::GetDragBlock(int row, CDragBlock& block) const
{
    // GR0-GR7 and SP hold values worth dropping elsewhere; PR and FR start nothing.
    if (row < 0 || row > REG_SP) return false;
    block = CDragBlock{m_doc.GetCore().GetRegisters()[row], std::string(GetRegisterName(row))};
    return true;
}

void CRegisterView::startDrag(Qt::DropActions)
{
    CDragBlock block;
    if (GetDragBlock(currentIndex().row(), block)) StartBlockDrag(this, kRegisterFormat, block);
}
