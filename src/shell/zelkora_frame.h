#pragma once
#include "shell/child_frame.h"

class CZelkoraApp;
struct CWorkViewKind;

// The simulator window: the listing on the left; the registers on the right, above the
// stack and the labels side by side; and a switchable work pane below all of them
// (memory dump, watches or output).
class CZelkoraFrame : public CChildFrame {
    Q_OBJECT
public:
    CZelkoraFrame(CZelkoraApp& app, CZelkoraDoc& doc, int workView, QWidget* parent = nullptr);
    ~CZelkoraFrame() override;

    // Sizes the panes and restores the stored layout; call once shown.
    void InitialLayout();
    QString GetCaption() const override { return "Simulator"; }
    QString GetDocumentTitle() const override { return "Simulator"; }
    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    QWidget* GetWorkView() const;
    const char* GetWorkViewClass() const;
    void SwitchWorkView(int commandId);

private:
    void StoreLayout();

    QWidget* CreateWorkView(const CWorkViewKind& kind);
    void RunRegisterDialog();

    CZelkoraApp& m_app;
    QSplitter* m_pOuter;        // the panes above the work pane
    QSplitter* m_pMiddle;       // the listing beside the right column
    QSplitter* m_pRight;        // the registers above the stack and labels
    QSplitter* m_pStackLabels;  // the stack beside the labels
};
