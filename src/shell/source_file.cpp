#include "shell/source_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include "text/codepage.h"
#include "text/source_text.h"

std::string EditorTextToFileBytes(const QString& text, bool* ok)
{
    // Lines end in CR LF in the file; the editor holds a lone CR as a kept byte.
    std::u16string crlf;
    crlf.reserve(static_cast<size_t>(text.size()) + static_cast<size_t>(text.size()) / 16);
    for (QChar c : text) {
        if (c == u'\n') crlf += u'\r';
        crlf += c.unicode();
    }
    return Utf16ToSourceBytes(crlf, ok);
}

QString FileBytesToEditorText(const std::string& bytes)
{
    bool ascii = true;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    QString text;
    if (!ascii && IsValidUtf8(bytes)) {
        text = QString::fromStdString(bytes);  // written by another editor here
    } else {
        const std::u16string utf16 = SourceBytesToUtf16(bytes);
        text = QString(reinterpret_cast<const QChar*>(utf16.data()), static_cast<qsizetype>(utf16.size()));
    }
    text.replace("\r\n", "\n");
    // A CR that ends no line is a byte of the file, not a line end for the editor.
    text.replace(u'\r', QChar(kKeptByteBase + u'\r'));
    return text;
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

bool ReadSourceFile(const QString& path, QString& text, QString& error)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        error = FileErrorText(errno, false);
        return false;
    }
    errno = 0;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = FileErrorText(errno, false);
        return false;
    }
    text = FileBytesToEditorText(bytes.toStdString());
    return true;
}

namespace {
bool WriteAll(QFileDevice& file, const std::string& bytes)
{
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
           file.flush();
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
    if (file.seek(0) && WriteAll(file, bytes) && file.resize(static_cast<qint64>(bytes.size()))) return true;
    error = FileErrorText(errno, true);
    const std::string previous = old.toStdString();
    if (file.seek(0) && WriteAll(file, previous)) file.resize(old.size());
    return false;
}
}  // namespace

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
    errno = 0;
    if (!WriteAll(file, bytes)) {
        error = FileErrorText(errno, true);
        file.cancelWriting();
        return false;
    }
    errno = 0;
    if (!file.commit()) {
        error = FileErrorText(errno, true);
        return false;
    }
    return true;
}
