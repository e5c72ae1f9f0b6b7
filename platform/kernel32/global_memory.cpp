// KERNEL32 movable global memory: blocks behind checked handles, locked to
// reach their bytes; the program fills one and hands it to the clipboard.
#include "kernel32.h"

#include "../fixme.h"

#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace kernel32 {
namespace {

// Handles count up from a tag of their own in the top bits, apart from file,
// GDI, window, menu and drop handles, and are never reused.
constexpr std::uintptr_t kGlobalHandleTag = static_cast<std::uintptr_t>(0x8400'0000'0000'0000u);

struct Block {
    std::vector<std::byte> bytes;
    int locks = 0;
};

class GlobalMemory {
public:
    HGLOBAL allocate(SIZE_T size)
    {
        auto block = std::make_unique<Block>();
        block->bytes.resize(size); // zeroed, as GMEM_ZEROINIT asks
        std::lock_guard lock(mutex_);
        HGLOBAL handle = reinterpret_cast<HGLOBAL>(++last_);
        blocks_.emplace(handle, std::move(block));
        return handle;
    }

    // Runs work on the block behind handle, or on nullptr for a null, freed
    // or foreign handle, while no other thread can free it.
    template <typename Work>
    auto with(HGLOBAL handle, Work work)
    {
        std::lock_guard lock(mutex_);
        auto found = blocks_.find(handle);
        return work(found != blocks_.end() ? found->second.get() : nullptr);
    }

    bool free(HGLOBAL handle)
    {
        std::lock_guard lock(mutex_);
        return blocks_.erase(handle) == 1;
    }

private:
    std::mutex mutex_;
    std::unordered_map<HGLOBAL, std::unique_ptr<Block>> blocks_;
    std::uintptr_t last_ = kGlobalHandleTag;
};

GlobalMemory& Memory()
{
    static GlobalMemory memory;
    return memory;
}

} // namespace
} // namespace kernel32

using namespace kernel32;

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes)
{
    // A fixed block's handle is its address on Windows; this layer hands out
    // checked handles only.
    if ((uFlags & GMEM_MOVEABLE) == 0 || (uFlags & ~(GMEM_MOVEABLE | GMEM_ZEROINIT)) != 0) {
        layer::Fixme("GlobalAlloc flags 0x%x", uFlags);
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    try {
        return Memory().allocate(dwBytes);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

// A movable block of no bytes is a discarded one: it has no address.
LPVOID WINAPI GlobalLock(HGLOBAL hMem)
{
    return Memory().with(hMem, [](Block* block) -> LPVOID {
        if (block == nullptr) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        if (block->bytes.empty())
            return nullptr;
        ++block->locks;
        return block->bytes.data();
    });
}

// TRUE while the block stays locked; FALSE with ERROR_SUCCESS when this was
// the last lock.
BOOL WINAPI GlobalUnlock(HGLOBAL hMem)
{
    return Memory().with(hMem, [](Block* block) -> BOOL {
        if (block == nullptr || block->locks == 0) {
            SetLastError(block == nullptr ? ERROR_INVALID_HANDLE : ERROR_NOT_LOCKED);
            return FALSE;
        }
        if (--block->locks > 0)
            return TRUE;
        SetLastError(ERROR_SUCCESS);
        return FALSE;
    });
}

SIZE_T WINAPI GlobalSize(HGLOBAL hMem)
{
    return Memory().with(hMem, [](Block* block) -> SIZE_T {
        if (block == nullptr)
            SetLastError(ERROR_INVALID_HANDLE);
        return block != nullptr ? block->bytes.size() : 0;
    });
}

// NULL when freed; the handle itself when it was no live block.
HGLOBAL WINAPI GlobalFree(HGLOBAL hMem)
{
    if (!Memory().free(hMem)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return hMem;
    }
    return nullptr;
}
