#include "views/register_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include "resources/message_ids.h"
#include "simulator/value_entry.h"
#include "simulator/zelkora_doc.h"
#include "text/codepage.h"
#include "views/value_dialog_layout.h"

namespace {
const char* const kFieldLabels[CRegisterDlg::kValueFields] = {"GR&0", "GR&1", "GR&2", "GR&3", "GR&4",
                                                              "GR&5", "GR&6", "GR&7", "S&P",  "P&R"};
}  // namespace

CRegisterDlg::CRegisterDlg(CZelkoraDoc& doc, int focusRow, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setWindowTitle(QString::fromUtf8("ﾚｼﾞｽﾀの設定"));
    const CRegister& reg = doc.GetCore().GetRegisters();
    m_values = reg;

    auto* fields = new QGridLayout;
    for (int i = 0; i < kValueFields; ++i) {
        auto* label = new QLabel(QString::fromUtf8(kFieldLabels[i]));
        m_pEdits[i] = new QLineEdit(QString::asprintf("#%04X", reg[i]));
        m_pEdits[i]->setObjectName(QString("edit%1").arg(1100 + i));
        m_pEdits[i]->setMinimumWidth(m_pEdits[i]->fontMetrics().horizontalAdvance('0') * 16);
        label->setBuddy(m_pEdits[i]);
        fields->addWidget(label, i, 0);
        fields->addWidget(m_pEdits[i], i, 1);
    }
    auto* flags = new QGroupBox("FR");
    auto* flagRow = new QHBoxLayout(flags);
    m_pV = new QCheckBox("&V");
    m_pS = new QCheckBox("&S");
    m_pZ = new QCheckBox("&Z");
    m_pV->setChecked(reg.GetFlag(FLAG_OF));
    m_pS->setChecked(reg.GetFlag(FLAG_SF));
    m_pZ->setChecked(reg.GetFlag(FLAG_ZF));
    for (QCheckBox* box : {m_pV, m_pS, m_pZ}) flagRow->addWidget(box);
    flagRow->addStretch();
    fields->addWidget(flags, kValueFields, 0, 1, 2);

    QPushButton* cancel = nullptr;
    QPushButton* ok = LayOutValueDialog(*this, fields, "<10進数>\n#<16進数>\n%<2進数>\n'<文字>\n<ﾗﾍﾞﾙ>", &cancel);

    // Tab order as the controls stand: the fields, the flags, then the buttons.
    QWidget* order[] = {m_pEdits[0], m_pEdits[1], m_pEdits[2], m_pEdits[3], m_pEdits[4],
                        m_pEdits[5], m_pEdits[6], m_pEdits[7], m_pEdits[8], m_pEdits[9],
                        m_pV,        m_pS,        m_pZ,        ok,          cancel};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    QWidget* first = focusRow >= 0 && focusRow < kValueFields ? static_cast<QWidget*>(m_pEdits[focusRow]) : m_pV;
    first->setFocus();
}

void CRegisterDlg::accept()
{
    const CLabelBank& labels = m_doc.GetAssembler().GetLabels();
    CRegister values;
    for (int i = 0; i < kValueFields; ++i) {
        WORD value = 0;
        bool encodable = true;
        const std::string text = Utf8ToCp932(m_pEdits[i]->text().toStdString(), &encodable);
        if (!encodable || !ParseWordValue(text, &labels, value)) {
            m_doc.ShowMessage(MSG_REGISTER_VALUE_BAD);
            m_pEdits[i]->setFocus();
            m_pEdits[i]->selectAll();
            return;
        }
        values[i] = value;
    }
    values[REG_FR] = static_cast<WORD>((m_pV->isChecked() ? FLAG_OF : 0) | (m_pS->isChecked() ? FLAG_SF : 0) |
                                       (m_pZ->isChecked() ? FLAG_ZF : 0));
    m_values = values;
    QDialog::accept();
}
