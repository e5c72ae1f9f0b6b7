// Menus loaded from the menu templates of the resources.
#include "window.h"

#include "../resources/resources.h"

#include <unordered_map>

namespace user32 {
namespace {
std::unordered_map<HMENU, Menu*> liveMenus;
std::uint64_t lastMenu = kMenuHandleTag;
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
