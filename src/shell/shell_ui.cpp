#include "shell/shell_ui.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QProgressDialog>
#include <QUrl>
#include <algorithm>
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "shell/input_device_dlg.h"
#include "shell/url_opener.h"

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

void CQtShellUi::OpenUrl(const QUrl& url, std::function<void()> notShown)
{
    QObject::connect(CUrlOpener::Open(url), &CUrlOpener::Finished, [notShown = std::move(notShown)](bool shown) {
        if (!shown && notShown) notShown();
    });
}

void CQtShellUi::Beep() { QApplication::beep(); }

namespace {
class CProgressDialog final : public IProgress {
public:
    // Made with Qt's own (translated) Cancel button.
    CProgressDialog(QWidget* parent, const QString& text, std::uint64_t total) : m_dialog(parent), m_nTotal(total)
    {
        m_dialog.setLabelText(text);
        m_dialog.setRange(0, kRange);
        m_dialog.setWindowTitle(AppTitle());
        // Modal, so that no command can change the document while the task reads it.
        m_dialog.setWindowModality(Qt::ApplicationModal);
        m_dialog.setMinimumDuration(0);
        m_dialog.setAutoReset(false);
        m_dialog.setAutoClose(false);
        m_clock.start();  // shown when the task has taken a moment
    }
    bool Step(std::uint64_t done) override
    {
        // Events only while the dialog is up: before, nothing may reach a window.
        if (m_clock.elapsed() < kShowAfterMs || (m_last.isValid() && m_last.elapsed() < kEveryMs))
            return !m_dialog.wasCanceled();
        m_last.start();
        if (!m_dialog.isVisible()) m_dialog.show();
        m_dialog.setValue(m_nTotal ? static_cast<int>(std::min<std::uint64_t>(done, m_nTotal) * kRange / m_nTotal) : 0);
        QCoreApplication::processEvents();
        return !m_dialog.wasCanceled();
    }

private:
    static constexpr int kRange = 1000;
    static constexpr qint64 kShowAfterMs = 300, kEveryMs = 50;
    QProgressDialog m_dialog;
    std::uint64_t m_nTotal;
    QElapsedTimer m_clock, m_last;
};
}  // namespace

std::unique_ptr<IProgress> CQtShellUi::BeginProgress(QWidget* parent, const QString& text, std::uint64_t total)
{
    return std::make_unique<CProgressDialog>(parent, text, total);
}
