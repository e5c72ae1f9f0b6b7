// A window that prints each input message its procedure gets, one line each
// on standard output: name, wParam, the two signed halves of lParam, and
// whether Ctrl and Shift are down by GetKeyState. It captures the mouse while
// the left button is down and asks for WM_MOUSELEAVE when the pointer comes
// in, as a chart window does. Its menu is the viewer's, for its mnemonics.
#include "platform/win32.h"

#include <cstdio>

namespace {

bool tracking = false;

const char* NameOf(UINT msg)
{
    switch (msg) {
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_MOUSEWHEEL: return "WM_MOUSEWHEEL";
    case WM_MOUSEHWHEEL: return "WM_MOUSEHWHEEL";
    case WM_MOUSELEAVE: return "WM_MOUSELEAVE";
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
    case WM_CHAR: return "WM_CHAR";
    case WM_COMMAND: return "WM_COMMAND";
    default: return nullptr;
    }
}

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (const char* name = NameOf(msg)) {
        std::printf("%s %lu %d %d ctrl=%d shift=%d\n", name, static_cast<unsigned long>(wParam),
                    GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), GetKeyState(VK_CONTROL) < 0,
                    GetKeyState(VK_SHIFT) < 0);
        std::fflush(stdout);
    }
    switch (msg) {
    case WM_MOUSEMOVE:
        if (!tracking) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
            tracking = TrackMouseEvent(&track) != 0;
        }
        return 0;
    case WM_MOUSELEAVE:
        tracking = false;
        return 0;
    case WM_LBUTTONDOWN:
        SetCapture(hwnd);
        return 0;
    case WM_LBUTTONUP:
        ReleaseCapture();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow)
{
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = hInstance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = "ZARVEN";
    wc.lpszClassName = "PROBE";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "PROBE", "input probe", WS_CAPTION | WS_SYSMENU, 100, 100, 300, 200, nullptr,
                                nullptr, hInstance, nullptr);
    ShowWindow(hwnd, nCmdShow);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
