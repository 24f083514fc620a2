#pragma once
#include "simulator/view.h"
#include "simulator/view_classes.h"
#include "views/command_target.h"

class CZelkoraDoc;
class QWidget;

// What every pane of a document shares: the document it shows, its place in the
// document's view list (from construction until Detach or destruction) and the
// view font with its measures.
class CPane : public CView, public CCommandTarget {
public:
    explicit CPane(CZelkoraDoc& doc);
    ~CPane() override;
    CPane(const CPane&) = delete;
    CPane& operator=(const CPane&) = delete;

    CZelkoraDoc& GetDocument() const { return m_doc; }
    // Leaves the document's view list now, for a pane whose window is deleted later.
    void Detach();

protected:
    // Gives the widget the view font and measures it.
    void ApplyViewFont(QWidget& widget);

    CZelkoraDoc& m_doc;
    int m_nCharWidth = 8;  // average character width of the view font, pixels
    int m_nCharHeight = 16;

private:
    bool m_bAttached = true;
};
