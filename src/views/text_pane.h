#pragma once
#include <QPlainTextEdit>
#include "simulator/view.h"
#include "views/command_target.h"

class CZelkoraDoc;

// A read-only text pane of a document: the view font, no wrapping, Copy, and a
// place in the document's view list for as long as it lives.
class CTextPane : public QPlainTextEdit, public CView, public CCommandTarget {
    Q_OBJECT
public:
    CTextPane(CZelkoraDoc& doc, QWidget* parent = nullptr);
    ~CTextPane() override;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;

protected:
    CZelkoraDoc& m_doc;
};
