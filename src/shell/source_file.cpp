#include "shell/source_file.h"

#include <QFile>
#include <QSaveFile>
#include "text/codepage.h"

std::string EditorTextToFileBytes(const QString& text, bool* ok)
{
    QString crlf = text;
    crlf.replace('\n', "\r\n");
    return Utf8ToCp932(crlf.toStdString(), ok);
}

QString FileBytesToEditorText(const std::string& bytes)
{
    bool ascii = true;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) { ascii = false; break; }
    const std::string utf8 = (!ascii && IsValidUtf8(bytes)) ? bytes : Cp932ToUtf8(bytes);
    QString text = QString::fromStdString(utf8);
    text.replace("\r\n", "\n");
    return text;
}

bool ReadSourceFile(const QString& path, QString& text, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    text = FileBytesToEditorText(bytes.toStdString());
    return true;
}

bool WriteFileSafely(const QString& path, const std::string& bytes, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
