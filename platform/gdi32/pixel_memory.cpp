// Memory for pixel buffers: small ones from the heap, big ones mapped on
// their own, aligned to a huge page and asked for one, and populated in one
// call instead of a fault per page.
#include "surface.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace gdi32 {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a buffer is a window's worth or less: the heap serves it.
constexpr std::size_t kMappedFrom = std::size_t{1} << 20;

#ifdef MADV_POPULATE_WRITE
constexpr int kPopulateWrite = MADV_POPULATE_WRITE;
#else
constexpr int kPopulateWrite = 23; // Linux 5.14; an older kernel refuses it and faults as before
#endif

// The address sanitizer watches the heap only.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMapBigBuffers = false;
#else
constexpr bool kMapBigBuffers = true;
#endif

std::size_t MappedSize(std::size_t bytes)
{
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

} // namespace

void* AllocatePixels(std::size_t bytes)
{
    if (!kMapBigBuffers || bytes < kMappedFrom)
        return ::operator new(bytes);
    const std::size_t size = MappedSize(bytes);
    if (size < bytes)
        throw std::bad_alloc();
    // One huge page more than needed, so that an aligned run fits; the ends go.
    void* mapped = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
    if (aligned > start)
        ::munmap(mapped, aligned - start);
    if (const std::uintptr_t tail = start + size + kHugePage - (aligned + size))
        ::munmap(reinterpret_cast<void*>(aligned + size), tail);
    void* memory = reinterpret_cast<void*>(aligned);
    ::madvise(memory, size, MADV_HUGEPAGE);
    ::madvise(memory, size, kPopulateWrite);
    return memory;
}

void FreePixels(void* memory, std::size_t bytes)
{
    if (!kMapBigBuffers || bytes < kMappedFrom)
        ::operator delete(memory);
    else if (memory != nullptr)
        ::munmap(memory, MappedSize(bytes));
}

} // namespace gdi32
