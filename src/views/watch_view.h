#pragma once
#include <string>
#include "views/list_view_ex.h"

class CWatchInfo;

// The document's watches, one row each: the target and its words now, in the
// watch's format. Rows are added, changed and deleted here; labels and registers
// dropped here become new watches.
class CWatchView : public CListViewEx {
    Q_OBJECT
public:
    explicit CWatchView(CZelkoraDoc& doc, QWidget* parent = nullptr);

    const char* GetClassName() const override { return kWatchViewClass; }
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;
    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    // The add dialog, with the target preset; on OK a new watch and its row.
    void AddWatch(const std::string& preset = std::string());
    // The change dialog on the first selected row.
    void ChangeWatch();
    // Deletes every selected row with its watch.
    void DeleteWatches();
    CWatchInfo* GetWatch(int row) const;

protected:
    void PrepareSubItemText(int row, int column, std::string& text) const override;
    bool IsValueChanged(int row, int column) const override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
