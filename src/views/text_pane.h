#pragma once
#include <QPlainTextEdit>
#include "views/pane.h"

class CZelkoraDoc;

// A read-only text pane of a document: the view font, no wrapping, and Copy.
class CTextPane : public QPlainTextEdit, public CPane {
    Q_OBJECT
public:
    CTextPane(CZelkoraDoc& doc, QWidget* parent = nullptr);
    ~CTextPane() override;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(CCmdUI& ui) override;
};
