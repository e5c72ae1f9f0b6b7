// Menus loaded from the menu templates of the resources, and the states of
// their items (checked, greyed), which the window's menu bar shows.
#include "window.h"

#include "../fixme.h"
#include "../resources/resources.h"
#include "frame.h"

#include <unordered_map>

namespace user32 {
namespace {
std::unordered_map<HMENU, Menu*> liveMenus;
std::uint64_t lastMenu = kMenuHandleTag;

// The first item with the command identifier, depth first, or nullptr.
resources::MenuItem* FindItem(std::vector<resources::MenuItem>& items, UINT id)
{
    for (resources::MenuItem& item : items) {
        if (!item.popup && !item.separator && item.id == id)
            return &item;
        if (resources::MenuItem* inner = FindItem(item.children, id))
            return inner;
    }
    return nullptr;
}

// The item with the command identifier in a live menu, or nullptr.
resources::MenuItem* FindMenuItem(HMENU hMenu, UINT id, UINT flags, const char* call)
{
    Menu* menu = FindMenu(hMenu);
    if (menu == nullptr) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }
    if (flags & MF_BYPOSITION) {
        layer::Fixme("%s by position", call);
        return nullptr;
    }
    return FindItem(menu->items, id);
}

// Sets the bits of mask in the item's state to those of flags and shows it
// on the menu bars; returns the previous bits, or -1 without such an item.
DWORD ChangeItemState(HMENU hMenu, UINT id, UINT flags, WORD mask, const char* call)
{
    resources::MenuItem* item = FindMenuItem(hMenu, id, flags, call);
    if (item == nullptr)
        return static_cast<DWORD>(-1);
    DWORD previous = item->state & mask;
    item->state = static_cast<WORD>((item->state & ~mask) | (flags & mask));
    for (Window* window : LiveWindows()) {
        if (window->menu != nullptr && window->menu->hmenu == hMenu && window->frame)
            window->frame->showItemState(static_cast<WORD>(id), item->state);
    }
    return previous;
}

} // namespace

HMENU AddMenu(std::vector<resources::MenuItem> items)
{
    auto* menu = new Menu{std::move(items), reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(++lastMenu))};
    liveMenus.emplace(menu->hmenu, menu);
    return menu->hmenu;
}

Menu* FindMenu(HMENU handle)
{
    auto found = liveMenus.find(handle);
    return found != liveMenus.end() ? found->second : nullptr;
}

void DeleteMenuObject(Menu* menu)
{
    liveMenus.erase(menu->hmenu);
    delete menu;
}

} // namespace user32

using namespace user32;

HMENU WINAPI LoadMenuA(HINSTANCE /*hInstance*/, LPCSTR lpMenuName)
{
    if (lpMenuName == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    auto data = resources::Find(resources::Id{resources::kTypeMenu, {}}, resources::IdFromName(lpMenuName));
    if (!data) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    auto items = resources::ReadMenu(*data);
    if (!items) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return AddMenu(std::move(*items));
}

BOOL WINAPI DestroyMenu(HMENU hMenu)
{
    Menu* menu = FindMenu(hMenu);
    if (menu == nullptr) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    for (Window* window : LiveWindows()) {
        if (window->menu == menu)
            window->menu = nullptr; // the bar already built stays as it is
    }
    DeleteMenuObject(menu);
    return TRUE;
}

HMENU WINAPI GetMenu(HWND hWnd)
{
    Window* window = FindTopLevel(hWnd);
    if (window == nullptr)
        return nullptr;
    return window->menu != nullptr ? window->menu->hmenu : nullptr;
}

DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck)
{
    return ChangeItemState(hMenu, uIDCheckItem, uCheck, MF_CHECKED, "CheckMenuItem");
}

BOOL WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable)
{
    return static_cast<BOOL>(ChangeItemState(hMenu, uIDEnableItem, uEnable, MF_GRAYED | MF_DISABLED, "EnableMenuItem"));
}

UINT WINAPI GetMenuState(HMENU hMenu, UINT uId, UINT uFlags)
{
    resources::MenuItem* item = FindMenuItem(hMenu, uId, uFlags, "GetMenuState");
    return item != nullptr ? item->state : static_cast<UINT>(-1);
}

// The real menu shows a bullet for a radio check; Qt's menu bar here shows
// its check mark.
BOOL WINAPI CheckMenuRadioItem(HMENU hMenu, UINT uFirst, UINT uLast, UINT uCheck, UINT uFlags)
{
    if (uCheck < uFirst || uCheck > uLast || FindMenuItem(hMenu, uCheck, uFlags, "CheckMenuRadioItem") == nullptr)
        return FALSE;
    for (UINT id = uFirst; id <= uLast; ++id) {
        if (FindMenuItem(hMenu, id, uFlags, "CheckMenuRadioItem") != nullptr)
            ChangeItemState(hMenu, id, id == uCheck ? MF_CHECKED : MF_UNCHECKED, MF_CHECKED, "CheckMenuRadioItem");
    }
    return TRUE;
}
