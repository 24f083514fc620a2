#pragma once
#include <QMessageBox>
#include <QString>
#include "simulator/document_host.h"

class QWidget;
class QUrl;

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
    virtual bool OpenUrl(const QUrl& url) = 0;
    virtual void Beep() = 0;
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
    bool OpenUrl(const QUrl& url) override;
    void Beep() override;
};

// The application title used for message boxes and the main window.
QString AppTitle();
