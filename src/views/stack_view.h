#pragma once
#include "machine/word.h"
#include "views/list_view_ex.h"

// The 64 words of memory from SP upwards (wrapping past FFFF), with a green arrow at SP.
class CStackView : public CListViewEx {
    Q_OBJECT
public:
    static constexpr int kRows = 64;

    explicit CStackView(CZelkoraDoc& doc, QWidget* parent = nullptr);

    const char* GetClassName() const override { return kStackViewClass; }
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, int hint, CHintUpdateView* object) override;

protected:
    void PrepareItem(int row, CListItem& item) const override;
    void PrepareSubItemText(int row, int column, std::string& text) const override;
    bool IsValueChanged(int row, int column) const override;

private:
    WORD AddressOf(int row) const;
};
