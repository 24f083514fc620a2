#include "shell/about_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>

QString VersionText()
{
    return QString::asprintf(
        "%hd.%hd.%hd.%hd", static_cast<short>(ZELKORA_VERSION_MAJOR + 0), static_cast<short>(ZELKORA_VERSION_MINOR + 0),
        static_cast<short>(ZELKORA_VERSION_PATCH + 0), static_cast<short>(ZELKORA_VERSION_TWEAK + 0));
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Zelkora IIのﾊﾞｰｼﾞｮﾝ情報"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(":/icons/app.svg").pixmap(32, 32));
    auto* name = new QLabel("Zelkora II Version", this);
    auto* version = new QLabel(VersionText(), this);
    version->setObjectName("control1025");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(name, 0, 1);
    layout->addWidget(version, 0, 2);
    layout->addWidget(buttons, 1, 1, 1, 2);
}
