#pragma once
#include <vector>
#include "machine/word.h"
#include "views/list_view_ex.h"

class CMnemonic;

// The listing: one row per statement with its address and source line, a yellow
// arrow at the statement at PR and a red dot for each breakpoint. Breakpoints, set
// PR and run to the cursor work from here.
class CSimulateView : public CListViewEx {
    Q_OBJECT
public:
    explicit CSimulateView(CZelkoraDoc& doc, QWidget* parent = nullptr);
    ~CSimulateView() override;

    const char* GetClassName() const override { return kSimulateViewClass; }
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;
    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    CMnemonic* GetStatement(int row) const;
    // Selects the last statement in source order at the address and scrolls it into view.
    void SelectAddress(WORD address);
    // Scrolls the first executable statement at PR into view with the rows after it
    // (KeepRowInBand); the selection stays.
    void ScrollToPR();

protected:
    void PrepareItem(int row, CListItem& item) const override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    CMnemonic* GetSelectedStatement() const;
    void SetPRAtCursor();

    // Per address: the first executable row and the last row of any statement, or -1.
    std::vector<int> m_firstExecutableRow;
    std::vector<int> m_lastRow;
};
