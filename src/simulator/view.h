#pragma once
#include <string>

class CHintUpdateView;

// A view of a document: told of every change through update hints.
class CView {
public:
    virtual ~CView() = default;

    // Once, after the view and its window exist: builds what the view shows from the document.
    virtual void OnInitialUpdate() {}
    // sender is the view that caused the change (never called on itself), or null.
    virtual void OnUpdate(CView* sender, int hint, CHintUpdateView* object) = 0;
    // The run-time class name, one of view_classes.h.
    virtual const char* GetClassName() const = 0;
    // The source editor gives the whole source text here (code page 932, CR LF); others give nothing.
    virtual bool GetSourceText(std::string& /*text*/) const { return false; }
};
