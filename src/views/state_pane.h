#pragma once
#include <functional>
#include <string>
#include "views/text_pane.h"

class CZelkoraDoc;

// A read-only text pane that shows one aspect of the machine state as text and
// redraws it after every change of the machine state. It stands in for the work
// views that do not exist yet.
class CStatePane : public CTextPane {
    Q_OBJECT
public:
    using Renderer = std::function<std::string(const CZelkoraDoc&)>;

    CStatePane(CZelkoraDoc& doc, const char* className, Renderer renderer, QWidget* parent = nullptr);

    void OnInitialUpdate() override { Redraw(); }
    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;
    const char* GetClassName() const override { return m_className; }

private:
    void Redraw();

    const char* m_className;
    Renderer m_renderer;
};

// Memory from #0100 to #01FF as text.
std::string RenderDump(const CZelkoraDoc& doc);
