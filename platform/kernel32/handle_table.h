// The layer objects of one kind of kernel handle (folder searches, change
// notifications). Handles count up from a tag of their own in the top bits,
// apart from the other kinds, and are never reused, so a stale or
// wrong-kind handle finds nothing.
#pragma once

#include "kernel32.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace kernel32 {

template <typename Object>
class HandleTable {
public:
    explicit HandleTable(std::uintptr_t tag) : last_(tag) {}

    HANDLE Add(std::shared_ptr<Object> object)
    {
        std::lock_guard lock(mutex_);
        last_ += 1;
        objects_.emplace(last_, std::move(object));
        return reinterpret_cast<HANDLE>(last_);
    }

    // Shared, so a call that is still using it outlives a close on another thread.
    std::shared_ptr<Object> Find(HANDLE handle) const
    {
        std::lock_guard lock(mutex_);
        auto found = objects_.find(reinterpret_cast<std::uintptr_t>(handle));
        return found != objects_.end() ? found->second : nullptr;
    }

    bool Remove(HANDLE handle)
    {
        std::lock_guard lock(mutex_);
        return objects_.erase(reinterpret_cast<std::uintptr_t>(handle)) != 0;
    }

private:
    mutable std::mutex mutex_;
    std::unordered_map<std::uintptr_t, std::shared_ptr<Object>> objects_;
    std::uintptr_t last_;
};

} // namespace kernel32
