#pragma once
#include <QPlainTextEdit>
#include "simulator/view.h"
#include "views/command_target.h"

class CZelkoraDoc;

// The output device view: the IN and OUT lines of the program, newest last,
// never much more than 1000 lines.
class CDeviceView : public QPlainTextEdit, public CView, public CCommandTarget {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 1000;

    CDeviceView(CZelkoraDoc& doc, QWidget* parent = nullptr);
    ~CDeviceView() override;

    // Fills the view with the document's device log.
    void InitialUpdate();
    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;
    const char* GetClassName() const override { return "CDeviceView"; }
    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

private:
    void AppendLine(const std::string& line);

    CZelkoraDoc& m_doc;
};
