#include "AllocationMeter.h"

#include <atomic>
#include <cstddef>
#include <cstring>
#include <malloc.h>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);
}

namespace {
std::atomic<int64_t> g_held{0};
std::atomic<int64_t> g_peak{0};
std::atomic<int64_t> g_base{0};

void Add(void* p)
{
    if (!p)
        return;
    const int64_t now = g_held.fetch_add(int64_t(malloc_usable_size(p))) + int64_t(malloc_usable_size(p));
    int64_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
}

void Remove(void* p)
{
    if (p)
        g_held.fetch_sub(int64_t(malloc_usable_size(p)));
}
} // namespace

// The C library's allocator stays underneath; only the counting is added.
extern "C" {
void* malloc(size_t n)
{
    void* p = __libc_malloc(n);
    Add(p);
    return p;
}

void* calloc(size_t n, size_t size)
{
    void* p = __libc_calloc(n, size);
    Add(p);
    return p;
}

void* realloc(void* old, size_t n)
{
    Remove(old);
    void* p = __libc_realloc(old, n);
    Add(p ? p : (n == 0 ? nullptr : old));
    return p;
}

void free(void* p)
{
    Remove(p);
    __libc_free(p);
}
}

namespace tessary::bench {

void ResetPeak()
{
    g_base = g_held.load();
    g_peak = g_base.load();
}

int64_t PeakSinceReset()
{
    return g_peak.load() - g_base.load();
}

} // namespace tessary::bench
