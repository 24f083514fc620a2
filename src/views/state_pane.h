#pragma once
#include <functional>
#include <string>
#include "views/text_pane.h"

class CZelkoraDoc;

// A read-only text pane that shows one aspect of the machine state as text and
// redraws it after every change of the machine state.
class CStatePane : public CTextPane {
    Q_OBJECT
public:
    using Renderer = std::function<std::string(const CZelkoraDoc&)>;

    CStatePane(CZelkoraDoc& doc, const char* className, Renderer renderer, QWidget* parent = nullptr);

    void InitialUpdate() { Redraw(); }
    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;
    const char* GetClassName() const override { return m_className; }

private:
    void Redraw();

    const char* m_className;
    Renderer m_renderer;
};

// Text renderings of the listing, the registers, the stack, the labels and memory.
std::string RenderListing(const CZelkoraDoc& doc);
std::string RenderRegisters(const CZelkoraDoc& doc);
std::string RenderStack(const CZelkoraDoc& doc);
std::string RenderSymbols(const CZelkoraDoc& doc);
std::string RenderDump(const CZelkoraDoc& doc);
