#pragma once
#include <QString>
#include <string>

// Source files: code page 932 text with CR LF line ends.

// The editor's text as file bytes: CR LF line ends, code page 932, the bytes of the
// file that are no characters as they were. ok (when given) is false when some
// character cannot be stored in code page 932 (it becomes '?').
std::string EditorTextToFileBytes(const QString& text, bool* ok = nullptr);

// File bytes as editor text. Code page 932 is expected; bytes that are no characters
// of it are kept (see text/source_text.h). A file that is valid UTF-8 with non-ASCII
// characters (written by another editor here) is read as UTF-8.
QString FileBytesToEditorText(const std::string& bytes);

bool ReadSourceFile(const QString& path, QString& text, QString& error);

// Why a file could not be read or written, in Japanese, from the system's error number.
QString FileErrorText(int error, bool writing);

// Writes through a temporary file in the same folder and a rename, so that a failed
// save leaves the previous file as it was. When the folder refuses the temporary file
// but the file may be written, it is written in place (and restored if that fails).
bool WriteFileSafely(const QString& path, const std::string& bytes, QString& error);
