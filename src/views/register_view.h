#pragma once
#include "views/list_view_ex.h"

struct CDragBlock;

// The registers GR0-GR7, SP, PR and FR in hexadecimal, signed and unsigned decimal,
// binary and as a character, read from the document at every paint. A double click
// opens the register dialog on the clicked register.
class CRegisterView : public CListViewEx {
    Q_OBJECT
public:
    explicit CRegisterView(CZelkoraDoc& doc, QWidget* parent = nullptr);

    const char* GetClassName() const override { return kRegisterViewClass; }
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;
    // What dragging row offers: the register's value and name; false for PR, FR and no row.
    bool GetDragBlock(int row, CDragBlock& block) const;

protected:
    void PrepareSubItemText(int row, int column, std::string& text) const override;
    bool IsValueChanged(int row, int column) const override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
};
