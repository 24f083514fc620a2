#include "shell/source_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <cerrno>
#include "shell/source_view.h"

namespace {
// The end of a line that differs from the file's most common one.
class CLineEndData : public QTextBlockUserData {
public:
    explicit CLineEndData(LineEnd end) : m_end(end) {}
    LineEnd GetEnd() const { return m_end; }

private:
    LineEnd m_end;
};

std::u16string_view View(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}
}  // namespace

void LoadSourceIntoEditor(CSourceView& editor, const CDecodedSource& source)
{
    editor.setPlainText(
        QString(reinterpret_cast<const QChar*>(source.text.data()), static_cast<qsizetype>(source.text.size())));
    editor.SetFormat(source.format);
    const LineEnd other = source.format.lineEnd == LineEnd::CrLf ? LineEnd::Lf : LineEnd::CrLf;
    for (std::uint32_t line : source.otherEnds) {
        QTextBlock block = editor.document()->findBlockByNumber(static_cast<int>(line));
        if (block.isValid()) block.setUserData(new CLineEndData(other));
    }
}

std::string EditorToFileBytes(const QTextDocument& document, const CSourceFormat& format, bool* ok)
{
    if (ok) *ok = true;
    std::string bytes;
    bytes.reserve(static_cast<size_t>(document.characterCount()) + 16);
    if (format.bom) bytes += kUtf8Bom;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        AppendSourceLine(bytes, View(block.text()), format.encoding, ok);
        if (!block.next().isValid()) break;
        // A line the user added takes the most common end.
        const auto* data = format.mixed ? static_cast<const CLineEndData*>(block.userData()) : nullptr;
        bytes += LineEndBytes(data ? data->GetEnd() : format.lineEnd);
    }
    return bytes;
}

std::u16string EditorText(const QTextDocument& document)
{
    // Lines are separated by U+2029 in the raw text; the editor holds no such character inside a line.
    std::u16string text(View(document.toRawText()));
    for (char16_t& c : text)
        if (c == u'\u2029') c = u'\n';
    return text;
}

bool LooksLikeBinary(std::string_view bytes) { return bytes.find('\0') != std::string_view::npos; }

QString DescribeSourceFormat(const CSourceFormat& format)
{
    return QString::fromStdString(DescribeSourceFormatText(format));
}

QString FileErrorText(int error, bool writing)
{
    switch (error) {
    case EACCES:
    case EPERM: return QString::fromUtf8(writing ? "書き込みが許可されていません。" : "読み込みが許可されていません。");
    case ENOENT: return QString::fromUtf8("ﾌｧｲﾙまたはﾌｫﾙﾀﾞが見つかりません。");
    case ENOSPC:
    case EDQUOT: return QString::fromUtf8("ﾃﾞｨｽｸの空き容量が足りません。");
    case EROFS: return QString::fromUtf8("読み取り専用のﾌｧｲﾙｼｽﾃﾑです。");
    case EISDIR: return QString::fromUtf8("ﾌｫﾙﾀﾞです。");
    case ENAMETOOLONG: return QString::fromUtf8("ﾌｧｲﾙ名が長すぎます。");
    case EFBIG: return QString::fromUtf8("ﾌｧｲﾙが大きすぎます。");
    case EIO: return QString::fromUtf8("入出力ｴﾗｰが発生しました。");
    default: return QString::fromUtf8(writing ? "ﾌｧｲﾙに書き込めませんでした。" : "ﾌｧｲﾙを読み込めませんでした。");
    }
}

bool ReadFileBytes(const QString& path, std::string& bytes, QString& error)
{
    // A pipe or a device (a name in the recent files may have become one) may never end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error = FileErrorText(info.isDir() ? EISDIR : EINVAL, false);
        return false;
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        error = FileErrorText(errno, false);
        return false;
    }
    errno = 0;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = FileErrorText(errno, false);
        return false;
    }
    bytes = data.toStdString();
    return true;
}

namespace {
bool WriteAll(QIODevice& file, const std::string& bytes)
{
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

// The folder takes no temporary file, but the file itself may be written: write it in
// place, and put the old contents back if that fails.
bool WriteInPlace(const QString& path, const std::string& bytes, QString& error)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadWrite)) {
        error = FileErrorText(errno, true);
        return false;
    }
    const QByteArray old = file.readAll();
    errno = 0;
    if (file.seek(0) && WriteAll(file, bytes) && file.flush() && file.resize(static_cast<qint64>(bytes.size())))
        return true;
    error = FileErrorText(errno, true);
    const std::string previous = old.toStdString();
    if (file.seek(0) && WriteAll(file, previous) && file.flush()) file.resize(old.size());
    return false;
}

// Into an open temporary file, then under its name; a write that stops cancels it (an
// error of the file's is told, a stop of the writer's is not).
bool WriteAndCommit(QSaveFile& file, const std::function<bool(QIODevice& file)>& write, QString& error)
{
    errno = 0;
    if (!write(file) || !file.flush()) {
        if (file.error() != QFileDevice::NoError) error = FileErrorText(errno, true);
        file.cancelWriting();
        return false;
    }
    errno = 0;
    if (file.commit()) return true;
    error = FileErrorText(errno, true);
    return false;
}
}  // namespace

bool WriteFileStreaming(const QString& path, const std::function<bool(QIODevice& file)>& write, QString& error)
{
    error.clear();
    QSaveFile file(path);
    errno = 0;
    if (file.open(QIODevice::WriteOnly)) return WriteAndCommit(file, write, error);
    error = FileErrorText(errno, true);
    return false;
}

bool WriteFileSafely(const QString& path, const std::string& bytes, QString& error)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        const int openError = errno;
        const QFileInfo info(path);
        if (info.exists() && info.isFile() && info.isWritable()) return WriteInPlace(path, bytes, error);
        error = FileErrorText(openError, true);
        return false;
    }
    return WriteAndCommit(
        file, [&bytes](QIODevice& out) { return WriteAll(out, bytes); }, error);
}
