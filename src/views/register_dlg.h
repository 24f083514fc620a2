#pragma once
#include <QDialog>
#include "machine/register.h"

class CZelkoraDoc;
class QCheckBox;
class QLineEdit;

// "ﾚｼﾞｽﾀの設定": GR0-GR7, SP and PR as value texts (decimal, #hex, %binary, 'c or a
// label) and the three flags of FR. OK takes the values only when every text is a
// value; the caller gives them to the document.
class CRegisterDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kValueFields = 10;  // GR0-GR7, SP, PR

    // focusRow: the register (0-10) whose control has the focus when the dialog opens.
    CRegisterDlg(CZelkoraDoc& doc, int focusRow, QWidget* parent = nullptr);

    // The registers as OK read them.
    const CRegister& GetValues() const { return m_values; }

    void accept() override;

    QLineEdit* m_pEdits[kValueFields];
    QCheckBox* m_pV;
    QCheckBox* m_pS;
    QCheckBox* m_pZ;

private:
    CZelkoraDoc& m_doc;
    CRegister m_values;
};
