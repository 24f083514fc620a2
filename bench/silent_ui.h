// Dialogs for the desktop benchmarks: every question answered with no, nothing shown.
#pragma once
#include <QUrl>
#include "shell/shell_ui.h"

class CSilentUi : public IShellUi {
public:
    void ShowMessage(QWidget*, MessageIcon, const QString&) override {}
    QMessageBox::StandardButton AskYesNoCancel(QWidget*, const QString&) override { return QMessageBox::No; }
    bool AskOkCancel(QWidget*, const QString&) override { return false; }
    bool AskYesNo(QWidget*, const QString&) override { return false; }
    QString GetOpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString GetSaveFileName(QWidget*, const QString&, const QString&, bool) override { return {}; }
    QString GetExistingDirectory(QWidget*, const QString&, const QString&) override { return {}; }
    bool RunKeyInput(QWidget*, QString&) override { return false; }
    void OpenUrl(const QUrl&, std::function<void()>) override {}
    void Beep() override {}
    std::unique_ptr<IProgress> BeginProgress(QWidget*, const QString&, std::uint64_t) override
    {
        struct CNone final : IProgress {
            bool Step(std::uint64_t) override { return true; }
        };
        return std::make_unique<CNone>();
    }
};
