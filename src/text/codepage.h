#pragma once
#include <string>
#include <string_view>

// Conversion between code page 932 (Shift-JIS as Windows writes it) and UTF-8.

// Bytes that are not valid code page 932 become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// Characters that code page 932 cannot store become '?'; ok (when given) tells whether
// every character converted, so that a caller can refuse to lose text silently.
std::string Utf8ToCp932(std::string_view utf8, bool* ok = nullptr);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);
