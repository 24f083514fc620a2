#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include "machine/word.h"

// The drag formats: a label from the symbol view, a register from the register view.
inline constexpr const char* kSymbolFormat = "SYMBOLFORMAT";
inline constexpr const char* kRegisterFormat = "REGISTERFORMAT";

// What a drag of either format carries, as an 18-byte block: the value in two
// bytes, least significant first, then the name NUL-terminated in 16 bytes.
struct CDragBlock {
    static constexpr size_t kSize = 18;
    static constexpr size_t kMaxName = 15;

    WORD value = 0;
    std::string name;  // at most kMaxName bytes are carried

    std::array<char, kSize> Encode() const;
    // False when the bytes are not a block (too short, or a name without its NUL).
    static bool Decode(std::string_view bytes, CDragBlock& block);
};
