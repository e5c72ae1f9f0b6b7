// The menu and dialog templates of a .res file, read into plain structures.
#pragma once

#include "../wintypes.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace resources {

struct MenuItem {
    std::u16string text; // with its '&' mnemonic marks
    WORD id = 0;
    bool separator = false;
    WORD state = 0; // MF_GRAYED, MF_DISABLED, MF_CHECKED as the template sets them
    std::vector<MenuItem> children; // a popup when non-empty or popup is set
    bool popup = false;
};

// A standard menu template (version 0) or an extended one (version 1).
std::optional<std::vector<MenuItem>> ReadMenu(std::span<const std::byte> data);

struct DialogControl {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
    int id = 0;
    WORD classAtom = 0;         // 0x80 button, 0x81 edit, 0x82 static, ... when className is empty
    std::u16string className;   // as written in the script, when not an atom
    std::u16string text;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::u16string title;
    WORD pointSize = 0; // 0 when the template names no font
    std::u16string typeface;
    std::vector<DialogControl> controls;
};

// Kind of a control, from its atom or its class name.
enum class ControlKind { Button, Edit, Static, Other };
ControlKind KindOf(const DialogControl& control);

// A classic template (DLGTEMPLATE) or an extended one (DLGTEMPLATEEX).
std::optional<DialogTemplate> ReadDialog(std::span<const std::byte> data);

} // namespace resources
