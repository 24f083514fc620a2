#pragma once
#include <memory>
#include "shell/child_frame.h"

class COutputView;
class CSourceView;
class CZelkoraApp;
struct CExerciseRun;

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
    // The exercise's tests: run them, list the results below the editor, and open the
    // simulator on a case's input when its line is double-clicked.
    void RunTests();
    void ShowTestResults(const std::shared_ptr<const CExerciseRun>& run);
    void OpenCase(const std::shared_ptr<const CExerciseRun>& run, int index);

    CZelkoraApp& m_app;
    QSplitter* m_pSplitter;
    CSourceView* m_pEditor;
    COutputView* m_pOutput;
};
