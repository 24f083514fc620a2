#pragma once
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "shell/main_frame.h"
#include "shell/shell_ui.h"
#include "shell/source_frame.h"
#include "shell/source_view.h"
#include "shell/zelkora_app.h"
#include "shell/zelkora_frame.h"
#include "simulator/zelkora_doc.h"
#include "views/output_view.h"
#include "views/settings_store.h"

// Answers every dialog of the program from queues and records what was shown.
class CTestUi : public IShellUi {
public:
    struct Shown {
        MessageIcon icon;
        QString text;
    };
    void ShowMessage(QWidget*, MessageIcon icon, const QString& text) override
    {
        messages.push_back({icon, text});
        if (onMessage) onMessage(text);
    }
    QMessageBox::StandardButton AskYesNoCancel(QWidget*, const QString& text) override
    {
        questions.push_back(text);
        return Take(yesNoCancel, QMessageBox::No);
    }
    bool AskOkCancel(QWidget*, const QString& text) override
    {
        questions.push_back(text);
        return Take(okCancel, false);
    }
    bool AskYesNo(QWidget*, const QString& text) override
    {
        questions.push_back(text);
        return Take(yesNo, false);
    }
    QString GetOpenFileName(QWidget*, const QString&, const QString&) override { return Take(openNames, QString()); }
    QString GetSaveFileName(QWidget*, const QString&, const QString&, bool) override { return Take(saveNames, QString()); }
    QString GetExistingDirectory(QWidget*, const QString&, const QString&) override { return Take(folders, QString()); }
    bool RunKeyInput(QWidget*, QString& line) override
    {
        if (onKeyInput) onKeyInput();
        if (keyLines.empty()) return false;
        line = keyLines.front();
        keyLines.pop_front();
        return true;
    }
    void OpenUrl(const QUrl& url, std::function<void()> notShown) override
    {
        urls.push_back(url);
        if (!urlsOpen && notShown) notShown();
    }
    void Beep() override { ++beeps; }
    // Counts the steps of every progress; cancels at step cancelAtStep (counted over all of them, from 1; 0: never).
    std::unique_ptr<IProgress> BeginProgress(QWidget*, const QString& text, std::uint64_t total) override
    {
        progressTexts << text;
        progressTotals.push_back(total);
        return std::make_unique<CProgress>(*this);
    }

    QStringList MessageTexts() const
    {
        QStringList texts;
        for (const Shown& m : messages) texts << m.text;
        return texts;
    }

    std::vector<Shown> messages;
    QStringList questions;
    std::deque<QMessageBox::StandardButton> yesNoCancel;
    std::deque<bool> okCancel, yesNo;
    std::deque<QString> openNames, saveNames, folders, keyLines;
    std::vector<QUrl> urls;
    bool urlsOpen = true;  // false: as if no program could show an address
    int beeps = 0;
    std::function<void(const QString&)> onMessage;
    std::function<void()> onKeyInput;
    QStringList progressTexts;
    std::vector<std::uint64_t> progressTotals;
    std::vector<std::uint64_t> progressSteps;  // the done counts told, in order
    size_t cancelAtStep = 0;

private:
    struct CProgress final : IProgress {
        CTestUi& ui;
        explicit CProgress(CTestUi& owner) : ui(owner) {}
        bool Step(std::uint64_t done) override
        {
            ui.progressSteps.push_back(done);
            return ui.progressSteps.size() != ui.cancelAtStep;
        }
    };

    template <class T>
    static T Take(std::deque<T>& queue, T fallback)
    {
        if (queue.empty()) return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

// A started application with a clean settings store.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenSettings()->clear();
    }
    void TearDown() override
    {
        app.reset();
        QApplication::processEvents();
    }

    void Start(const QStringList& arguments = {})
    {
        app = std::make_unique<CZelkoraApp>(&ui);
        ASSERT_TRUE(app->InitInstance(arguments));
        QApplication::processEvents();
    }
    CMainFrame* Frame() const { return app->GetMainFrame(); }
    CSourceView* Editor() const { return app->GetSourceFrame()->GetEditor(); }
    COutputView* Output() const { return app->GetSourceFrame()->GetOutput(); }
    bool Enabled(int id) const
    {
        Frame()->UpdateCommandUI();
        return Frame()->GetAction(id)->isEnabled();
    }
    bool Checked(int id) const
    {
        Frame()->UpdateCommandUI();
        return Frame()->GetAction(id)->isChecked();
    }
    void SetSource(const QString& text)
    {
        Editor()->setPlainText(text);
        Editor()->document()->setModified(true);  // as if typed
        Editor()->setFocus();
    }
    QString WriteFile(const QString& name, const std::string& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }
    static std::string ReadBytes(const QString& path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll().toStdString();
    }

    CTestUi ui;
    std::unique_ptr<CZelkoraApp> app;
    QTemporaryDir dir;
};
