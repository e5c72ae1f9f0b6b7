// The layer's window objects: what a window handle points to, the live-window
// table that checks handles, and the window classes.
#pragma once

#include "user32.h"

#include "../gdi32/surface.h"
#include "../resources/resources.h"
#include "../resources/templates.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace user32 {

class Frame;

struct Menu {
    std::vector<resources::MenuItem> items;
    HMENU hmenu = nullptr; // set by AddMenu
};

// A registered window class.
struct WindowClass {
    std::string name; // upper-cased: class names ignore case
    std::string givenName; // as the program wrote it
    WNDCLASSA fields{};
    resources::Id menuName;
    bool hasMenu = false;
};

// The class registered under name (case ignored), or nullptr.
WindowClass* FindClass(LPCSTR name);

struct Window {
    enum class Kind { TopLevel, Dialog, Control }; // a control of a dialog box

    explicit Window(Kind kind);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND handle() const { return hwnd; }

    Kind kind;
    HWND hwnd; // never reused, unlike the object's address
    WNDPROC procedure = nullptr; // top-level windows
    std::string className;       // as registered, for GetClassNameA
    UINT classStyle = 0;         // CS_DBLCLKS and the rest
    DWORD mouseTracking = 0;     // TME_LEAVE while a WM_MOUSELEAVE is asked for
    DLGPROC dialogProcedure = nullptr;
    DWORD style = 0;
    HBRUSH background = nullptr;
    Menu* menu = nullptr; // owned; destroyed with the window

    // The client area: a pixel buffer that outlives the screen's copies of it.
    std::shared_ptr<gdi32::PixelBuffer> client;
    RECT update{};      // bounding box of the part waiting to be repainted
    bool erase = false; // it must be erased with the class brush first
    std::vector<HDC> contexts; // from GetDC and BeginPaint, not yet released

    std::unique_ptr<Frame> frame; // the Qt side of a top-level window
    void* dialogWidget = nullptr; // the Qt side of a dialog (a QDialog)
    void* controlWidget = nullptr; // the Qt side of a control
    std::vector<HWND> controls; // a dialog's, removed with it
    int defaultId = 0; // a dialog's default push button (DEFPUSHBUTTON), 0 for none
    int modalChildren = 0; // modal dialogs it owns: no input while any is open
    bool destroying = false; // inside DestroyWindow: a second call is a no-op
    bool dialogEnded = false;
    INT_PTR dialogResult = 0;
};

// Window, menu and accelerator table handles count up from a tag of their
// own in the top bits, apart from GDI handles (generation below 2^31 in the
// top half) and file handles (small multiples of 4), and are never reused.
inline constexpr std::uint64_t kWindowHandleTag = 0x8100'0000'0000'0000u;
inline constexpr std::uint64_t kMenuHandleTag = 0x8200'0000'0000'0000u;
inline constexpr std::uint64_t kAcceleratorHandleTag = 0x8300'0000'0000'0000u;

// The live window behind a handle, or nullptr for null, stale or foreign ones.
Window* FindWindowObject(HWND hwnd);
// The live top-level window behind a handle; nullptr, with
// ERROR_INVALID_WINDOW_HANDLE set, for anything else.
Window* FindTopLevel(HWND hwnd);
HWND AddWindow(std::unique_ptr<Window> window);
void RemoveWindow(HWND hwnd);
std::vector<Window*> LiveWindows();

// Calls the window's procedure (its dialog procedure for a dialog).
LRESULT Deliver(Window& window, UINT message, WPARAM wParam, LPARAM lParam);

// Messages delivered to procedures, for tests of their order.
using MessageTrace = void (*)(HWND, UINT, WPARAM, LPARAM);
void SetMessageTrace(MessageTrace trace);

// Menus: a new live menu from its items, the menu behind a handle (nullptr
// for null, stale or foreign ones), and destroying one.
HMENU AddMenu(std::vector<resources::MenuItem> items);
Menu* FindMenu(HMENU menu);
void DeleteMenuObject(Menu* menu);

// Classic fixed-frame metrics: the outer size of a window minus these is its
// client area.
inline constexpr int kFixedFrame = 3;
inline constexpr int kSizingFrame = 4;
inline constexpr int kCaptionHeight = 19;
inline constexpr int kMenuHeight = 19;

} // namespace user32
