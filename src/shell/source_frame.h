#pragma once
#include "shell/child_frame.h"

class COutputView;
class CSourceView;
class CZelkoraApp;

// The source window: the editor above the assembly error list.
class CSourceFrame : public CChildFrame {
    Q_OBJECT
public:
    CSourceFrame(CZelkoraApp& app, CZelkoraDoc& doc, QWidget* parent = nullptr);
    ~CSourceFrame() override;

    // Sizes the panes (75 % editor) and restores the stored layout; call once shown.
    void InitialLayout();
    QString GetCaption() const override;
    QString GetDocumentTitle() const override { return "Source"; }
    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

    CSourceView* GetEditor() const { return m_pEditor; }
    COutputView* GetOutput() const { return m_pOutput; }
    QSplitter* GetSplitter() const { return m_pSplitter; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void StoreLayout();

    CZelkoraApp& m_app;
    QSplitter* m_pSplitter;
    CSourceView* m_pEditor;
    COutputView* m_pOutput;
};
