// Accelerator tables of a .res file: entries of four words (flags, key,
// command, padding), the last one marked in its flags.
#pragma once

#include "../wintypes.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace resources {

inline constexpr WORD kTypeAccelerator = 9;

struct Accelerator {
    BYTE flags = 0; // FVIRTKEY, FSHIFT, FCONTROL, FALT (FNOINVERT is dropped)
    WORD key = 0;   // a virtual-key code, or a character without FVIRTKEY
    WORD id = 0;    // the command

    bool operator==(const Accelerator&) const = default;
};

// The table's entries up to the one marked last; nothing when no entry is
// marked last (a table cut short).
std::optional<std::vector<Accelerator>> ReadAccelerators(std::span<const std::byte> data);

} // namespace resources
