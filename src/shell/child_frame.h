#pragma once
#include <QMdiSubWindow>
#include <QPointer>
#include <QSplitter>
#include "views/command_target.h"

class CCloseBoxStyle;
class CZelkoraDoc;

// The common base of the source and simulator windows: a child window of the main
// window that knows its document and the pane that last had the focus.
class CChildFrame : public QMdiSubWindow, public CCommandTarget {
    Q_OBJECT
public:
    CChildFrame(CZelkoraDoc& doc, QWidget* parent = nullptr);

    CZelkoraDoc& GetDocument() const { return m_doc; }
    // The pane that commands go to first.
    QWidget* GetActiveView() const { return m_pActiveView; }
    void SetActiveView(QWidget* view);
    // Moves the focus to the next (or previous) pane, in reading order, round the window.
    void ActivateNextPane(bool forward);
    // The caption and the document title this window sets when it is activated.
    virtual QString GetCaption() const = 0;
    virtual QString GetDocumentTitle() const = 0;

    // Takes every pane of this window out of its document's view list.
    void DetachPanes();

    // Stores the placement under name (after restoring a maximized window to normal size).
    void StorePlacement(const char* name);
    void RestorePlacement(const char* name);

protected:
    void changeEvent(QEvent* event) override;
    static QSplitter* MakeSplitter(Qt::Orientation orientation, QWidget* parent);

private:
    CZelkoraDoc& m_doc;
    QPointer<QWidget> m_pActiveView;
    CCloseBoxStyle* m_pCloseBoxStyle;
};
