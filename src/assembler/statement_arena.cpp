#include "assembler/statement_arena.h"

#include <algorithm>
#include <cstring>

void* CStatementArena::Allocate(size_t size, size_t align)
{
    size_t at = (m_used + align - 1) & ~(align - 1);
    if (m_blocks.empty() || at + size > m_size) {
        // Blocks grow from small (a short program costs little) to kBlock; a line longer
        // than that gets a block of its own.
        const size_t grown = std::min(kBlock, kFirstBlock << std::min<size_t>(m_blocks.size(), 8));
        m_size = std::max(grown, size + align);
        m_blocks.push_back(std::make_unique<std::byte[]>(m_size));
        at = 0;  // a new block is aligned for any statement
    }
    m_used = at + size;
    return m_blocks.back().get() + at;
}

std::string_view CStatementArena::Keep(std::string_view text)
{
    if (text.empty()) return {};
    auto* copy = static_cast<char*>(Allocate(text.size(), 1));
    std::memcpy(copy, text.data(), text.size());
    return {copy, text.size()};
}

void CStatementArena::Clear()
{
    m_blocks.clear();
    m_used = m_size = kBlock;
}
