#pragma once
#include <QTimer>
#include "simulator/device_log.h"
#include "views/text_pane.h"

class CZelkoraDoc;

// The output device view: the IN and OUT lines of the program, newest last, the
// newest 1000 of them. A run may write millions of lines, so they are collected and
// shown together a few times a second; Flush shows them at once (the end of a run does,
// and the program before a message box or the key-input dialog).
class CDeviceView : public CTextPane {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 1000;
    static constexpr int kShowIntervalMs = 250;

    CDeviceView(CZelkoraDoc& doc, QWidget* parent = nullptr);

    // Fills the view with the document's device log.
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;
    const char* GetClassName() const override { return kDeviceViewClass; }

    // Shows the lines collected so far.
    void Flush();

private:
    CDeviceLog m_pending;  // the newest of the lines not shown yet
    QTimer m_showTimer;
};
