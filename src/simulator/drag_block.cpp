#include "simulator/drag_block.h"

#include <algorithm>

std::array<char, CDragBlock::kSize> CDragBlock::Encode() const
{
    std::array<char, kSize> bytes{};
    bytes[0] = static_cast<char>(value & 0xFF);
    bytes[1] = static_cast<char>(value >> 8);
    const size_t length = std::min(name.size(), kMaxName);
    std::copy_n(name.data(), length, bytes.begin() + 2);
    return bytes;
}

bool CDragBlock::Decode(std::string_view bytes, CDragBlock& block)
{
    if (bytes.size() < kSize) return false;
    const std::string_view field = bytes.substr(2, kSize - 2);
    const size_t end = field.find('\0');
    if (end == std::string_view::npos) return false;
    block.value = static_cast<WORD>(static_cast<unsigned char>(bytes[0]) | (static_cast<unsigned char>(bytes[1]) << 8));
    block.name = std::string(field.substr(0, end));
    return true;
}
