#pragma once
#include <string>

class CHintUpdateView;

// A view of a document: told of every change through update hints.
class CView {
public:
    virtual ~CView() = default;

    // sender is the view that caused the change (never called on itself), or null.
    virtual void OnUpdate(CView* sender, int hint, CHintUpdateView* object) = 0;
    // The run-time class name, such as "CSourceView" or "CSimulateView".
    virtual const char* GetClassName() const = 0;
    // The source editor gives the whole source text here (code page 932, CR LF); others give nothing.
    virtual bool GetSourceText(std::string& /*text*/) const { return false; }
};
