#include "shell/input_device_dlg.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CInputDeviceDlg::CInputDeviceDlg(QWidget* parent) : QDialog(parent), m_pEdit(new QLineEdit(this))
{
    setWindowTitle(QString::fromUtf8("IN命令によるｷｰ入力"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* input = buttons->addButton(QString::fromUtf8("入力"), QDialogButtonBox::AcceptRole);
    buttons->addButton("EOF", QDialogButtonBox::RejectRole);
    input->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pEdit);
    layout->addWidget(buttons);
    m_pEdit->setObjectName("edit1023");
    m_pEdit->setMinimumWidth(360);
}

QString CInputDeviceDlg::GetText() const { return m_pEdit->text(); }
