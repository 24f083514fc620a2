#include "shell/exercise_tests.h"

#include <QDir>
#include <QFileInfo>
#include <chrono>
#include <future>
#include <thread>
#include "grading/report.h"
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "shell/shell_ui.h"
#include "shell/source_file.h"
#include "simulator/zelkora_doc.h"

QString TestFileBeside(const std::string& sourcePath)
{
    if (sourcePath.empty()) return {};
    const QFileInfo source(QString::fromStdString(sourcePath));
    const QString path = source.dir().filePath(source.completeBaseName() + ".tests");
    return QFileInfo(path).isFile() ? path : QString();
}

bool RunExerciseTests(CZelkoraDoc& doc, IShellUi& ui, QWidget* parent, CExerciseRun& run)
{
    run.testFile = TestFileBeside(doc.GetSourcePath());
    if (run.testFile.isEmpty()) return false;
    const auto fail = [&](int id, std::initializer_list<std::string_view> inserts) {
        ui.ShowMessage(parent, MessageIcon::Stop, QString::fromStdString(FormatMessageArgs(id, inserts)));
        return false;
    };
    std::string bytes;
    QString error;
    const std::string name = run.testFile.toStdString();
    if (!ReadFileBytes(run.testFile, bytes, error)) return fail(MSG_TESTS_UNREADABLE, {name, error.toStdString()});
    const QString folder = QFileInfo(run.testFile).absolutePath();
    const ReadNamedFile readBeside = [&folder](const std::string& file, std::string& content, std::string& reason) {
        QString why;
        const QString path = QDir(folder).filePath(QString::fromStdString(file));
        if (ReadFileBytes(path, content, why)) return true;
        reason = why.toStdString();
        return false;
    };
    CTestFileError wrong;
    if (!ParseTestSuite(bytes, readBeside, run.suite, wrong))
        return fail(MSG_TESTS_WRONG, {name, std::to_string(wrong.line), wrong.message});

    // The editor's text as it stands: what the student sees is what is tested.
    std::string source = doc.GetSourceText();
    if (const CView* editor = doc.FindViewByClass(kSourceViewClass)) editor->GetSourceText(source);
    std::atomic<bool> cancelled{false};
    std::atomic<int> done{0};
    auto work = std::async(std::launch::async, [&] {
        return GradeProgram(doc.GetSourcePath(), std::move(source), run.suite, &cancelled, [&done] { ++done; });
    });
    const auto total = static_cast<std::uint64_t>(run.suite.cases.size());
    const auto progress = ui.BeginProgress(parent, QString::fromStdString(std::string(LoadString(MSG_TESTS_RUNNING))), total);
    while (work.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
        if (!progress->Step(static_cast<std::uint64_t>(done.load()))) cancelled = true;
    run.result = work.get();
    return !cancelled && run.result.complete;
}

QStringList ExerciseResultLines(const CExerciseRun& run)
{
    QStringList lines;
    for (const std::string& line : CaseResultLines(run.result, QFileInfo(run.testFile).fileName().toStdString()))
        lines << QString::fromStdString(line);
    return lines;
}
