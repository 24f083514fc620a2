#include "shell/trace_table_save.h"

#include <QIODevice>
#include "resources/message_ids.h"
#include "resources/string_table.h"
#include "shell/shell_ui.h"
#include "shell/source_file.h"
#include "simulator/zelkora_doc.h"

namespace {
// Each block of rows into the file, the progress told after it.
class CFileSink final : public ITraceSink {
public:
    CFileSink(QIODevice& file, IProgress& progress) : m_file(file), m_progress(progress) {}
    bool Write(std::string_view text, std::uint64_t rows) override
    {
        const auto size = static_cast<qint64>(text.size());
        return m_file.write(text.data(), size) == size && m_progress.Step(rows);
    }

private:
    QIODevice& m_file;
    IProgress& m_progress;
};

QString Text(int id, std::initializer_list<std::string_view> inserts = {})
{
    return QString::fromStdString(FormatMessageArgs(id, inserts));
}
}  // namespace

bool ConfirmTraceTableSize(const CZelkoraDoc& doc, IShellUi& ui, QWidget* parent)
{
    const std::string question = doc.TraceTableSizeQuestion();
    return question.empty() || ui.AskOkCancel(parent, QString::fromStdString(question));
}

bool WriteTraceTableFile(const CZelkoraDoc& doc, const QString& path, IShellUi& ui, QWidget* parent, QString& error)
{
    const std::unique_ptr<IProgress> progress =
        ui.BeginProgress(parent, Text(MSG_TRACE_TABLE_SAVING), doc.GetTraceTableRows());
    return WriteFileStreaming(
        path,
        [&](QIODevice& file) {
            CFileSink sink(file, *progress);
            return doc.WriteTraceTable(sink);
        },
        error);
}
