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

// Sets the bits of mask in the item's state to those of state; returns the
// previous bits (all of them for an empty mask), or -1 when the menu has no
// such item.
DWORD ChangeItemState(HMENU hMenu, UINT id, UINT flags, WORD mask, WORD state, const char* call)
{
    Menu* menu = FindMenu(hMenu);
    if (menu == nullptr) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return static_cast<DWORD>(-1);
    }
    if (flags & MF_BYPOSITION) {
        layer::Fixme("%s by position", call);
        return static_cast<DWORD>(-1);
    }
    resources::MenuItem* item = FindItem(menu->items, id);
    if (item == nullptr)
        return static_cast<DWORD>(-1);
    WORD previous = mask != 0 ? item->state & mask : item->state;
    if (mask == 0)
        return previous;
    item->state = static_cast<WORD>((item->state & ~mask) | (state & mask));
    for (Window* window : LiveWindows()) {
        if (window->menu == menu && window->frame)
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
    Window* window = FindWindowObject(hWnd);
    if (window == nullptr || window->kind != Window::Kind::TopLevel) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return window->menu != nullptr ? window->menu->hmenu : nullptr;
}

DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck)
{
    return ChangeItemState(hMenu, uIDCheckItem, uCheck, MF_CHECKED, static_cast<WORD>(uCheck), "CheckMenuItem");
}

BOOL WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable)
{
    return static_cast<BOOL>(ChangeItemState(hMenu, uIDEnableItem, uEnable, MF_GRAYED | MF_DISABLED,
                                             static_cast<WORD>(uEnable), "EnableMenuItem"));
}

UINT WINAPI GetMenuState(HMENU hMenu, UINT uId, UINT uFlags)
{
    return ChangeItemState(hMenu, uId, uFlags, 0, 0, "GetMenuState");
}
