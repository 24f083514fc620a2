#pragma once
#include <QMessageBox>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include "simulator/document_host.h"

class QWidget;
class QUrl;

// A long task's progress bar with a Cancel button. It shows itself when the task takes
// more than a moment, and from then on keeps the program's windows painting while the
// task goes on (but takes no commands: it is modal).
class IProgress {
public:
    virtual ~IProgress() = default;
    // done of the total; false once the user has cancelled.
    virtual bool Step(std::uint64_t done) = 0;
};

// Every modal question, message box and file dialog of the program goes through
// here, so that tests can answer them.
class IShellUi {
public:
    virtual ~IShellUi() = default;

    virtual void ShowMessage(QWidget* parent, MessageIcon icon, const QString& text) = 0;
    // Yes, No or Cancel.
    virtual QMessageBox::StandardButton AskYesNoCancel(QWidget* parent, const QString& text) = 0;
    // OK or Cancel.
    virtual bool AskOkCancel(QWidget* parent, const QString& text) = 0;
    // Yes or No.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
    virtual QString GetOpenFileName(QWidget* parent, const QString& dir, const QString& filter) = 0;
    virtual QString GetSaveFileName(QWidget* parent, const QString& dir, const QString& filter,
                                    bool confirmOverwrite) = 0;
    virtual QString GetExistingDirectory(QWidget* parent, const QString& title, const QString& dir) = 0;
    // The key-input dialog of IN; false for end of input.
    virtual bool RunKeyInput(QWidget* parent, QString& line) = 0;
    // Shows the address with the program the desktop has for it, without waiting; notShown
    // is called (perhaps later) when nothing could show it.
    virtual void OpenUrl(const QUrl& url, std::function<void()> notShown) = 0;
    virtual void Beep() = 0;
    // The progress of a task of total steps, with text above the bar; it ends with the object.
    virtual std::unique_ptr<IProgress> BeginProgress(QWidget* parent, const QString& text, std::uint64_t total) = 0;
};

// The real dialogs.
class CQtShellUi : public IShellUi {
public:
    void ShowMessage(QWidget* parent, MessageIcon icon, const QString& text) override;
    QMessageBox::StandardButton AskYesNoCancel(QWidget* parent, const QString& text) override;
    bool AskOkCancel(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    QString GetOpenFileName(QWidget* parent, const QString& dir, const QString& filter) override;
    QString GetSaveFileName(QWidget* parent, const QString& dir, const QString& filter, bool confirmOverwrite) override;
    QString GetExistingDirectory(QWidget* parent, const QString& title, const QString& dir) override;
    bool RunKeyInput(QWidget* parent, QString& line) override;
    void OpenUrl(const QUrl& url, std::function<void()> notShown) override;
    void Beep() override;
    std::unique_ptr<IProgress> BeginProgress(QWidget* parent, const QString& text, std::uint64_t total) override;
};

// The application title used for message boxes and the main window.
QString AppTitle();
