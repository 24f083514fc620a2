#pragma once
#include <string>
#include <string_view>

// One step through UTF-8 text: the character at s[i], or an ill-formed sequence.
struct CUtf8Step {
    char32_t code;  // the character when valid
    size_t length;  // bytes taken: the character's, or those of the ill-formed sequence
    bool valid;
};

// An ill-formed sequence takes its lead byte and the continuation bytes that follow it,
// up to the length the lead byte announces, so that it counts as one bad character.
CUtf8Step DecodeUtf8(std::string_view s, size_t i);

void AppendUtf8(std::string& out, char32_t code);
