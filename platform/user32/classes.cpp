// Window classes: the registry, the class of a window, and the stock icon and
// cursor.
#include "window.h"

#include "../fixme.h"

#include <algorithm>

namespace user32 {
namespace {

std::vector<WindowClass> classes;

// Stock icons and cursors are never drawn; distinct non-null handles suffice.
struct StockTag {
};
StockTag stockIcon, stockCursor;

std::string upperName(LPCSTR name)
{
    std::string result(name);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

} // namespace

WindowClass* FindClass(LPCSTR name)
{
    if (name == nullptr || reinterpret_cast<UINT_PTR>(name) <= 0xFFFF)
        return nullptr;
    std::string wanted = upperName(name);
    auto found = std::find_if(classes.begin(), classes.end(), [&](const WindowClass& c) { return c.name == wanted; });
    return found == classes.end() ? nullptr : &*found;
}

} // namespace user32

using namespace user32;

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass)
{
    if (lpWndClass == nullptr || lpWndClass->lpfnWndProc == nullptr || lpWndClass->lpszClassName == nullptr ||
        reinterpret_cast<UINT_PTR>(lpWndClass->lpszClassName) <= 0xFFFF || lpWndClass->lpszClassName[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClass(lpWndClass->lpszClassName) != nullptr) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WindowClass windowClass;
    windowClass.name = upperName(lpWndClass->lpszClassName);
    windowClass.givenName = lpWndClass->lpszClassName;
    windowClass.fields = *lpWndClass;
    windowClass.fields.lpszClassName = nullptr; // the caller's strings need not live on
    windowClass.fields.lpszMenuName = nullptr;
    if (lpWndClass->lpszMenuName != nullptr) {
        windowClass.menuName = resources::IdFromName(lpWndClass->lpszMenuName);
        windowClass.hasMenu = true;
    }
    classes.push_back(std::move(windowClass));
    // Atoms of registered classes start at 0xC000.
    return static_cast<ATOM>(0xC000 + classes.size() - 1);
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE /*hInstance*/)
{
    WindowClass* windowClass = FindClass(lpClassName);
    if (windowClass == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return FALSE;
    }
    // A class in use stays: its windows still need the procedure.
    for (Window* window : LiveWindows()) {
        if (window->procedure == windowClass->fields.lpfnWndProc)
            return FALSE;
    }
    windowClass->name.clear();
    windowClass->givenName.clear();
    windowClass->fields = WNDCLASSA{};
    return TRUE;
}

HICON WINAPI LoadIconA(HINSTANCE /*hInstance*/, LPCSTR /*lpIconName*/)
{
    return reinterpret_cast<HICON>(&stockIcon);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE /*hInstance*/, LPCSTR /*lpCursorName*/)
{
    return reinterpret_cast<HCURSOR>(&stockCursor);
}

int WINAPI GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount)
{
    Window* window = FindWindowObject(hWnd);
    if (window == nullptr || lpClassName == nullptr || nMaxCount <= 0) {
        SetLastError(window == nullptr ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (window->kind == Window::Kind::Control) {
        layer::Fixme("GetClassNameA: the class names of dialog controls are not provided");
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return 0;
    }
    // A dialog box is of the system's dialog class.
    std::string name = window->kind == Window::Kind::TopLevel ? window->className : "#32770";
    std::size_t count = std::min(name.size(), static_cast<std::size_t>(nMaxCount - 1));
    name.copy(lpClassName, count);
    lpClassName[count] = '\0';
    return static_cast<int>(count);
}
