#pragma once
#include <string>
#include <string_view>

// Source files through the editor, byte for byte. Code page 932 text decodes to
// UTF-16 as usual; every byte that is not part of a character that comes back as
// the same bytes (stray bytes, a lead byte without its trail, one of two codes for
// the same character) stands for itself as the private-use character U+F700 + byte,
// and turns back into that byte when the text is encoded again.
inline constexpr char16_t kKeptByteBase = 0xF700;

std::u16string SourceBytesToUtf16(std::string_view bytes);

// ok (when given) is false when some character cannot be stored in code page 932; it becomes '?'.
std::string Utf16ToSourceBytes(std::u16string_view text, bool* ok = nullptr);
