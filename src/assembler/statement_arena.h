#pragma once
#include <cstddef>
#include <memory>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

// Where the statements of one assembly and their source lines live: large blocks,
// handed out in order and given back all at once. A source of 400,000 lines then
// costs a few dozen allocations instead of a million, and freeing it is immediate.
class CStatementArena {
public:
    CStatementArena() = default;
    CStatementArena(const CStatementArena&) = delete;
    CStatementArena& operator=(const CStatementArena&) = delete;

    void* Allocate(size_t size, size_t align);
    // A copy of text that lives as long as the arena's contents.
    std::string_view Keep(std::string_view text);
    // Gives every block back; what was made in them must have been destroyed.
    void Clear();

    template <class T, class... Args>
    T* Make(Args&&... args)
    {
        return new (Allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    }

private:
    static constexpr size_t kFirstBlock = size_t{1} << 16;
    static constexpr size_t kBlock = size_t{1} << 20;
    std::vector<std::unique_ptr<std::byte[]>> m_blocks;
    size_t m_used = kBlock;  // bytes used in the last block
    size_t m_size = kBlock;  // size of the last block
};
