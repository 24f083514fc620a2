// Replaces the plain forms of operator new and delete for the whole test program. The
// count uses malloc_usable_size on both sides, so it stays consistent under the sanitizers.
#include "allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {
std::atomic<std::size_t> g_current{0}, g_peak{0}, g_total{0};

void* Allocate(std::size_t size)
{
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p) return nullptr;
    const std::size_t bytes = malloc_usable_size(p);
    g_total += bytes;
    const std::size_t now = g_current += bytes;
    std::size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void Free(void* p)
{
    if (!p) return;
    g_current -= malloc_usable_size(p);
    std::free(p);
}
}  // namespace

void* operator new(std::size_t size)
{
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, std::size_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t) noexcept { Free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Free(p); }

CAllocationScope::CAllocationScope() : m_baseCurrent(g_current.load()), m_baseTotal(g_total.load())
{
    g_peak = m_baseCurrent;
}

std::size_t CAllocationScope::PeakBytes() const
{
    const std::size_t peak = g_peak.load();
    return peak > m_baseCurrent ? peak - m_baseCurrent : 0;
}

std::size_t CAllocationScope::TotalBytes() const
{
    return g_total.load() - m_baseTotal;
}
