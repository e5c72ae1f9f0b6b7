// The program's compiled resources (a standard .res file embedded in the
// binary) and the lookup of one resource by type and name.
#pragma once

#include "../wintypes.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace resources {

// Resource types as numbered in a .res file.
inline constexpr WORD kTypeMenu = 4;
inline constexpr WORD kTypeDialog = 5;

// A resource type or name: a number, or a string compared without regard to
// ASCII case, as the resource compiler stores names upper-cased.
struct Id {
    WORD number = 0;
    std::u16string text; // used when non-empty
};

// Id of a name handed to a Win32 call: MAKEINTRESOURCE numbers or a string.
Id IdFromName(LPCSTR name);

// Makes the .res image the program's resources; the bytes must outlive every
// lookup. Returns false (and keeps the previous image) when it is malformed.
bool RegisterImage(std::span<const std::byte> image);

// The data of the first resource of that type and name, whatever its language.
std::optional<std::span<const std::byte>> Find(const Id& type, const Id& name);

// The instance handle the entry hands to WinMain: the module the resources
// belong to.
HINSTANCE ProgramInstance();

} // namespace resources
