// Counts the bytes that operator new hands out in this test program, so that tests can
// bound the memory and the allocation work of an operation by counts, not by time.
#pragma once
#include <cstddef>

class CAllocationScope {
public:
    CAllocationScope();
    // Most bytes held at once by allocations made since the scope began.
    std::size_t PeakBytes() const;
    // All bytes allocated since the scope began (freed or not).
    std::size_t TotalBytes() const;

private:
    std::size_t m_baseCurrent;
    std::size_t m_baseTotal;
};
