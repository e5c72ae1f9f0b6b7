// Keyboard accelerator tables from the resources, and TranslateAcceleratorA,
// which turns a key that one names into the command of its menu item.
#include "window.h"

#include "../resources/accelerators.h"
#include "../resources/resources.h"

#include <QApplication>

#include <map>
#include <unordered_map>

namespace user32 {
namespace {

std::unordered_map<HACCEL, std::vector<resources::Accelerator>> tables;
// A table loaded again is the same table, as a resource is loaded once.
std::map<std::u16string, HACCEL> loadedByName;
std::map<WORD, HACCEL> loadedByNumber;
std::uint64_t lastTable = kAcceleratorHandleTag;

// Resource names are compared without regard to ASCII case.
HACCEL& LoadedSlot(const resources::Id& name)
{
    if (name.text.empty())
        return loadedByNumber[name.number];
    std::u16string upper = name.text;
    for (char16_t& c : upper) {
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return loadedByName[upper];
}

bool Held(int vk)
{
    return GetKeyState(vk) < 0;
}

// The entry the key message stands for: a virtual key with exactly its
// Shift, Ctrl and Alt, or a character typed (with Alt as it says).
const resources::Accelerator* Match(const std::vector<resources::Accelerator>& table, const MSG& msg)
{
    bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    bool character = msg.message == WM_CHAR || msg.message == WM_SYSCHAR;
    BYTE modifiers = static_cast<BYTE>((Held(VK_SHIFT) ? FSHIFT : 0) | (Held(VK_CONTROL) ? FCONTROL : 0) |
                                       (Held(VK_MENU) ? FALT : 0));
    for (const resources::Accelerator& entry : table) {
        bool virtualKey = entry.flags & FVIRTKEY;
        if (virtualKey && keyDown && entry.key == msg.wParam &&
            (entry.flags & (FSHIFT | FCONTROL | FALT)) == modifiers)
            return &entry;
        if (!virtualKey && character && entry.key == msg.wParam && (entry.flags & FALT) == (modifiers & FALT))
            return &entry;
    }
    return nullptr;
}

} // namespace
} // namespace user32

using namespace user32;

HACCEL WINAPI LoadAcceleratorsA(HINSTANCE /*hInstance*/, LPCSTR lpTableName)
{
    if (lpTableName == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    resources::Id name = resources::IdFromName(lpTableName);
    HACCEL& loaded = LoadedSlot(name);
    if (tables.contains(loaded))
        return loaded;
    auto data = resources::Find(resources::Id{resources::kTypeAccelerator, {}}, name);
    auto table = data ? resources::ReadAccelerators(*data) : std::nullopt;
    if (!table) {
        SetLastError(data ? ERROR_INVALID_PARAMETER : ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    loaded = reinterpret_cast<HACCEL>(static_cast<std::uintptr_t>(++lastTable));
    tables.emplace(loaded, std::move(*table));
    return loaded;
}

BOOL WINAPI DestroyAcceleratorTable(HACCEL hAccel)
{
    if (tables.erase(hAccel) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

// A key that names an entry is taken (TRUE) even when its command is not
// sent: its menu item greyed, the window minimized or disabled by a modal
// dialog. While a menu is open, the menu has the keys.
int WINAPI TranslateAcceleratorA(HWND hWnd, HACCEL hAccTable, MSG* lpMsg)
{
    auto table = tables.find(hAccTable);
    Window* window = FindWindowObject(hWnd);
    if (table == tables.end() || window == nullptr || lpMsg == nullptr) {
        SetLastError(table == tables.end() ? ERROR_INVALID_HANDLE : ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (QApplication::activePopupWidget() != nullptr)
        return 0;
    const resources::Accelerator* entry = Match(table->second, *lpMsg);
    if (entry == nullptr)
        return 0;
    HMENU menu = GetMenu(hWnd);
    UINT state = menu != nullptr ? GetMenuState(menu, entry->id, MF_BYCOMMAND) : static_cast<UINT>(-1);
    bool onMenu = state != static_cast<UINT>(-1);
    bool itemOff = onMenu && ((state & (MF_GRAYED | MF_DISABLED)) || IsIconic(hWnd));
    if (!itemOff && IsWindowEnabled(hWnd))
        SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(entry->id, 1), 0);
    return 1;
}
