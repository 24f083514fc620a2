#include "views/value_dialog_layout.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QPushButton* LayOutValueDialog(QDialog& dialog, QLayout* fields, const char* syntaxHelp, QPushButton** cancelButton)
{
    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ"));
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto* help = new QLabel(QString::fromUtf8(syntaxHelp));
    help->setTextFormat(Qt::PlainText);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addSpacing(12);
    buttons->addWidget(help);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(&dialog);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    if (cancelButton) *cancelButton = cancel;
    return ok;
}
