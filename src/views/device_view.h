#pragma once
#include "views/text_pane.h"

class CZelkoraDoc;

// The output device view: the IN and OUT lines of the program, newest last,
// never much more than 1000 lines.
class CDeviceView : public CTextPane {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 1000;

    CDeviceView(CZelkoraDoc& doc, QWidget* parent = nullptr);

    // Fills the view with the document's device log.
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;
    const char* GetClassName() const override { return kDeviceViewClass; }

private:
    void AppendLine(const std::string& line);
};
