#pragma once
#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include "text/source_text.h"

class CSourceView;
class QIODevice;
class QTextDocument;

// Source files: read and written byte for byte in the format they came in (see
// text/source_text.h); new files are code page 932 with CR LF line ends.

// Puts a decoded file into the editor: its text, its format and, where line ends are
// mixed, the end of each line that differs from the most common one.
void LoadSourceIntoEditor(CSourceView& editor, const CDecodedSource& source);

// The editor's text as file bytes in the format: each line with its own end, the last
// one without. ok (when given) is false when some character cannot be stored in code
// page 932 (it becomes '?').
std::string EditorToFileBytes(const QTextDocument& document, const CSourceFormat& format, bool* ok = nullptr);

// The editor's whole text with '\n' between lines, nothing of it changed (QTextDocument's
// plain text turns some characters into spaces and line breaks).
std::u16string EditorText(const QTextDocument& document);

bool ReadFileBytes(const QString& path, std::string& bytes, QString& error);

// Whether the bytes look like no text at all (a binary opened by mistake): no text file,
// Shift-JIS or UTF-8, holds a NUL byte.
bool LooksLikeBinary(std::string_view bytes);

// The encoding and line ends, as the status bar shows them: "Shift-JIS CR LF", "UTF-8 BOM LF".
QString DescribeSourceFormat(const CSourceFormat& format);

// Why a file could not be read or written, in Japanese, from the system's error number.
QString FileErrorText(int error, bool writing);

// Writes through a temporary file in the same folder and a rename, so that a failed
// save leaves the previous file as it was. When the folder refuses the temporary file
// but the file may be written, it is written in place (and restored if that fails).
bool WriteFileSafely(const QString& path, const std::string& bytes, QString& error);

// The same for a file made as it is written: write writes into the open temporary file
// and says whether it finished. Only a finished file takes the name; a write that failed
// or was cancelled (false with no error of the file's; error stays empty) leaves the name
// as it was. Nothing is written in place: a half file must never take the name.
bool WriteFileStreaming(const QString& path, const std::function<bool(QIODevice& file)>& write, QString& error);
