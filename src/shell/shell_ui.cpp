#include "shell/shell_ui.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "shell/input_device_dlg.h"

QString AppTitle() { return QString::fromUtf8(LoadString(IDS_APP_TITLE).data()); }

void CQtShellUi::ShowMessage(QWidget* parent, MessageIcon icon, const QString& text)
{
    const QMessageBox::Icon qtIcon = icon == MessageIcon::Information ? QMessageBox::Information
                                     : icon == MessageIcon::Stop      ? QMessageBox::Critical
                                                                      : QMessageBox::Warning;
    QMessageBox box(qtIcon, AppTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

QMessageBox::StandardButton CQtShellUi::AskYesNoCancel(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, AppTitle(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                 QMessageBox::Yes);
}

bool CQtShellUi::AskOkCancel(QWidget* parent, const QString& text)
{
    return QMessageBox::warning(parent, AppTitle(), text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

bool CQtShellUi::AskYesNo(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, AppTitle(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

QString CQtShellUi::GetOpenFileName(QWidget* parent, const QString& dir, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), dir, filter);
}

QString CQtShellUi::GetSaveFileName(QWidget* parent, const QString& dir, const QString& filter, bool confirmOverwrite)
{
    return QFileDialog::getSaveFileName(parent, QString(), dir, filter, nullptr,
                                        confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite);
}

QString CQtShellUi::GetExistingDirectory(QWidget* parent, const QString& title, const QString& dir)
{
    return QFileDialog::getExistingDirectory(parent, title, dir);
}

bool CQtShellUi::RunKeyInput(QWidget* parent, QString& line)
{
    CInputDeviceDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    line = dialog.GetText();
    return true;
}

bool CQtShellUi::OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

void CQtShellUi::Beep() { QApplication::beep(); }
