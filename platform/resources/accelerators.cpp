// Reading an accelerator table as the resource compiler writes it.
#include "accelerators.h"

#include <cstring>

namespace resources {
namespace {

constexpr std::size_t kEntrySize = 8;
constexpr WORD kLastEntry = 0x80;
constexpr WORD kKnownFlags = 0x01 | 0x04 | 0x08 | 0x10; // FVIRTKEY FSHIFT FCONTROL FALT

WORD WordAt(std::span<const std::byte> data, std::size_t at)
{
    WORD value;
    std::memcpy(&value, data.data() + at, 2);
    return value;
}

} // namespace

std::optional<std::vector<Accelerator>> ReadAccelerators(std::span<const std::byte> data)
{
    std::vector<Accelerator> table;
    for (std::size_t at = 0; data.size() - at >= kEntrySize; at += kEntrySize) {
        WORD flags = WordAt(data, at);
        table.push_back(Accelerator{static_cast<BYTE>(flags & kKnownFlags), WordAt(data, at + 2), WordAt(data, at + 4)});
        if (flags & kLastEntry)
            return table;
    }
    return std::nullopt;
}

} // namespace resources
