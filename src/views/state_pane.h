#pragma once
#include <QPlainTextEdit>
#include <functional>
#include <string>
#include "simulator/view.h"

class CZelkoraDoc;

// A read-only text pane that shows one aspect of the machine state as text and
// redraws it after every change of the machine state.
class CStatePane : public QPlainTextEdit, public CView {
    Q_OBJECT
public:
    using Renderer = std::function<std::string(const CZelkoraDoc&)>;

    CStatePane(CZelkoraDoc& doc, const char* className, Renderer renderer, QWidget* parent = nullptr);
    ~CStatePane() override;

    void InitialUpdate() { Redraw(); }
    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;
    const char* GetClassName() const override { return m_className; }

private:
    void Redraw();

    CZelkoraDoc& m_doc;
    const char* m_className;
    Renderer m_renderer;
};

// Text renderings of the listing, the registers, the stack, the labels and memory.
std::string RenderListing(const CZelkoraDoc& doc);
std::string RenderRegisters(const CZelkoraDoc& doc);
std::string RenderStack(const CZelkoraDoc& doc);
std::string RenderSymbols(const CZelkoraDoc& doc);
std::string RenderDump(const CZelkoraDoc& doc);
