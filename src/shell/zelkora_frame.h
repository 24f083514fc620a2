#pragma once
#include "shell/child_frame.h"

class CZelkoraApp;
struct CWorkViewKind;

// The simulator window: listing and registers on the left, stack and labels on the
// right, and a switchable work pane below (memory dump, watches or output).
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
    QSplitter* m_pOuter;
    QSplitter* m_pMiddle;
    QSplitter* m_pLeft;
    QSplitter* m_pRight;
};
