// Creating and destroying windows, the live-window table, and the default
// procedure.
#include "window.h"

#include "../codepage/codepage.h"
#include "../fixme.h"
#include "frame.h"
#include "messages.h"
#include "timers.h"
#include "../resources/resources.h"

#include <algorithm>
#include <unordered_map>

namespace user32 {
namespace {

std::unordered_map<HWND, Window*> liveWindows;
std::uint64_t lastWindow = kWindowHandleTag;
MessageTrace messageTrace = nullptr;

int frameWidth(DWORD style)
{
    if (style & WS_THICKFRAME)
        return kSizingFrame;
    if ((style & WS_CAPTION) || (style & WS_DLGFRAME))
        return kFixedFrame;
    return (style & WS_BORDER) ? 1 : 0;
}

} // namespace

// The handle is taken at construction: the frame is built with it before
// the window goes live.
Window::Window(Kind kind) : kind(kind), hwnd(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(++lastWindow))) {}

Window::~Window()
{
    if (menu != nullptr)
        DeleteMenuObject(menu);
}

Window* FindWindowObject(HWND hwnd)
{
    auto found = liveWindows.find(hwnd);
    return found != liveWindows.end() ? found->second : nullptr;
}

Window* FindTopLevel(HWND hwnd)
{
    Window* window = FindWindowObject(hwnd);
    if (window == nullptr || window->kind != Window::Kind::TopLevel) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return window;
}

HWND AddWindow(std::unique_ptr<Window> window)
{
    Window* raw = window.release();
    liveWindows.emplace(raw->hwnd, raw);
    return raw->hwnd;
}

void RemoveWindow(HWND hwnd)
{
    Window* window = FindWindowObject(hwnd);
    if (window == nullptr)
        return;
    liveWindows.erase(hwnd);
    delete window;
}

std::vector<Window*> LiveWindows()
{
    std::vector<Window*> windows;
    windows.reserve(liveWindows.size());
    for (const auto& [hwnd, window] : liveWindows)
        windows.push_back(window);
    return windows;
}

void SetMessageTrace(MessageTrace trace)
{
    messageTrace = trace;
}

LRESULT Deliver(Window& window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = window.handle();
    if (messageTrace != nullptr)
        messageTrace(hwnd, message, wParam, lParam);
    if (window.kind == Window::Kind::Dialog)
        return window.dialogProcedure != nullptr ? window.dialogProcedure(hwnd, message, wParam, lParam) : 0;
    if (window.kind == Window::Kind::Control) {
        layer::Fixme("messages to dialog controls (0x%x) are not provided", message);
        return 0;
    }
    return window.procedure(hwnd, message, wParam, lParam);
}

} // namespace user32

using namespace user32;

HWND WINAPI CreateWindowExA(DWORD /*dwExStyle*/, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X,
                            int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam)
{
    WindowClass* windowClass = FindClass(lpClassName);
    if (windowClass == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (dwStyle & WS_CHILD) {
        // The program has one top-level window; child windows are not provided.
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return nullptr;
    }
    if (hWndParent != nullptr && FindWindowObject(hWndParent) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (hMenu != nullptr && FindMenu(hMenu) == nullptr) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }
    if (hMenu == nullptr && windowClass->hasMenu) {
        auto data = resources::Find(resources::Id{resources::kTypeMenu, {}}, windowClass->menuName);
        auto items = data ? resources::ReadMenu(*data) : std::nullopt;
        if (items)
            hMenu = AddMenu(std::move(*items));
    }

    if (nWidth == CW_USEDEFAULT) {
        nWidth = 640;
        nHeight = 480;
    }
    int frame = frameWidth(dwStyle);
    int caption = (dwStyle & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0;
    int menuBar = hMenu != nullptr ? kMenuHeight : 0;
    int clientWidth = std::max(0, nWidth - 2 * frame);
    int clientHeight = std::max(0, nHeight - 2 * frame - caption - menuBar);

    auto window = std::make_unique<Window>(Window::Kind::TopLevel);
    window->procedure = windowClass->fields.lpfnWndProc;
    window->className = windowClass->givenName;
    window->classStyle = windowClass->fields.style;
    window->style = dwStyle;
    window->background = windowClass->fields.hbrBackground;
    window->menu = FindMenu(hMenu);
    window->client = std::make_shared<gdi32::PixelBuffer>(std::max(clientWidth, 1), std::max(clientHeight, 1));
    std::u16string title = lpWindowName != nullptr ? codepage::ToUtf16(lpWindowName) : std::u16string();
    window->frame = std::make_unique<Frame>(window->handle(), window->client, title, window->menu, dwStyle,
                                            X == CW_USEDEFAULT ? -1 : X, Y == CW_USEDEFAULT ? -1 : Y);
    HWND hwnd = AddWindow(std::move(window));

    CREATESTRUCTA create{lpParam, hInstance, hMenu, hWndParent, nHeight, nWidth, Y, X, static_cast<LONG>(dwStyle),
                         lpWindowName, lpClassName, 0};
    Window* created = FindWindowObject(hwnd);
    if (Deliver(*created, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (FindWindowObject(hwnd) == nullptr)
        return nullptr; // destroyed during its creation
    if (dwStyle & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

BOOL WINAPI DestroyWindow(HWND hWnd)
{
    Window* window = FindTopLevel(hWnd);
    if (window == nullptr)
        return FALSE;
    if (window->destroying)
        return TRUE;
    window->destroying = true;
    window->frame->hide();
    Deliver(*window, WM_DESTROY, 0, 0);
    if ((window = FindWindowObject(hWnd)) == nullptr)
        return TRUE;
    Deliver(*window, WM_NCDESTROY, 0, 0);
    if ((window = FindWindowObject(hWnd)) == nullptr)
        return TRUE;
    for (HDC context : window->contexts)
        DeleteDC(context);
    ForgetMessagesOf(hWnd);
    KillTimersOf(hWnd);
    RemoveWindow(hWnd);
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow)
{
    Window* window = FindTopLevel(hWnd);
    if (window == nullptr)
        return FALSE;
    bool wasVisible = (window->style & WS_VISIBLE) != 0;
    if (nCmdShow == SW_HIDE) {
        if (wasVisible) {
            Deliver(*window, WM_SHOWWINDOW, FALSE, 0);
            if ((window = FindWindowObject(hWnd)) == nullptr)
                return TRUE;
            window->style &= ~static_cast<DWORD>(WS_VISIBLE);
            window->frame->hide();
        }
        return wasVisible;
    }
    if (!wasVisible) {
        Deliver(*window, WM_SHOWWINDOW, TRUE, 0);
        if ((window = FindWindowObject(hWnd)) == nullptr)
            return FALSE;
        window->style |= WS_VISIBLE;
        // A window that appears has everything to paint, on a clean ground.
        InvalidateRect(hWnd, nullptr, TRUE);
    }
    window->frame->show(nCmdShow);
    return wasVisible;
}

BOOL WINAPI IsWindow(HWND hWnd)
{
    return FindWindowObject(hWnd) != nullptr;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd)
{
    Window* window = FindWindowObject(hWnd);
    return window != nullptr && window->modalChildren == 0;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect)
{
    Window* window = FindWindowObject(hWnd);
    if (window == nullptr || lpRect == nullptr || !window->client) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *lpRect = RECT{0, 0, window->client->width, window->client->height};
    return TRUE;
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString)
{
    Window* window = FindWindowObject(hWnd);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    LPARAM text = reinterpret_cast<LPARAM>(lpString);
    // A dialog procedure that leaves the message alone gets the default.
    LRESULT done = Deliver(*window, WM_SETTEXT, 0, text);
    if (window->kind == Window::Kind::Dialog && !done && FindWindowObject(hWnd) != nullptr)
        done = DefWindowProcA(hWnd, WM_SETTEXT, 0, text);
    return done != 0;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    Window* window = FindWindowObject(hWnd);
    if (window == nullptr)
        return 0;
    switch (Msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 closes the window, by way of the system command.
        if (wParam == VK_F4 && (lParam & (1 << 29)))
            SendMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            SendMessageA(hWnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_PAINT: {
        // Validates, so that the paint is not asked for again and again.
        PAINTSTRUCT paint;
        if (BeginPaint(hWnd, &paint) != nullptr)
            EndPaint(hWnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SETTEXT:
        SetTitle(hWnd, codepage::ToUtf16(lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : ""));
        return TRUE;
    default:
        return 0;
    }
}
