// The program's window in-process: the messages from start to exit, the
// command dispatch, and the About box's procedure and keys.
#include "app/pidview.h"
#include "app/resource.h"
#include "main_window_fixture.h"
#include "platform/resources/resources.h"
#include "platform/user32/testing.h"
#include "platform/user32/window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Delivered {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
};
std::vector<Delivered> delivered;

void Record(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    delivered.push_back({hwnd, message, wParam});
}

// The focus comes from the window system in its own time: it is left out.
std::vector<UINT> MessagesTo(HWND hwnd)
{
    std::vector<UINT> result;
    for (const Delivered& d : delivered) {
        if (d.hwnd == hwnd && d.message != WM_SETFOCUS && d.message != WM_KILLFOCUS)
            result.push_back(d.message);
    }
    return result;
}

// Runs first: WinMain registers the class once per process.
TEST(MainWindow, StartUpAndExitOrder)
{
    user32::SetMessageTrace(Record);
    delivered.clear();
    user32::testing::AfterMilliseconds(0, [] { PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0); });
    char tail[] = "";
    int code = WinMain(resources::ProgramInstance(), nullptr, tail, SW_SHOWDEFAULT);
    user32::SetMessageTrace(nullptr);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(MessagesTo(hWnd), (std::vector<UINT>{WM_CREATE, WM_SHOWWINDOW, WM_PAINT, WM_COMMAND, WM_DESTROY,
                                                    WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(hWnd));
}

TEST_F(MainWindowRunning, ClientAreaBelowTheMenu)
{
    RECT rc;
    ASSERT_TRUE(GetClientRect(hWnd, &rc));
    EXPECT_EQ(rc.right, 794);
    EXPECT_EQ(rc.bottom, 496);
}

TEST_F(MainWindowRunning, UnknownCommandIsIgnored)
{
    EXPECT_EQ(MainWndProc(hWnd, WM_COMMAND, MAKEWPARAM(4711, 0), 0), 0);
    EXPECT_EQ(MainWndProc(hWnd, WM_COMMAND, MAKEWPARAM(0, 1), 0), 0);
    EXPECT_TRUE(IsWindow(hWnd));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(MainWindowRunning, ExitDestroysAndQuitsWithZero)
{
    EXPECT_EQ(MainWndProc(hWnd, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0), 0);
    EXPECT_FALSE(IsWindow(hWnd));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 0u);
}

TEST_F(MainWindowRunning, PaintValidatesTheWindow)
{
    InvalidateRect(hWnd, nullptr, TRUE);
    EXPECT_EQ(MainWndProc(hWnd, WM_PAINT, 0, 0), 0);
    RECT rc;
    EXPECT_FALSE(GetUpdateRect(hWnd, &rc, FALSE));
}

TEST(AboutProcedure, Answers)
{
    EXPECT_EQ(HAboutDlgProc(nullptr, WM_INITDIALOG, 0, 0), TRUE);
    EXPECT_EQ(HAboutDlgProc(nullptr, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0), FALSE);
    EXPECT_EQ(HAboutDlgProc(nullptr, WM_COMMAND, MAKEWPARAM(4711, 0), 0), FALSE);
    EXPECT_EQ(HAboutDlgProc(nullptr, WM_USER, 0, 0), FALSE);
}

TEST_F(MainWindowRunning, AboutBoxIgnoresEscapeAndClosesWithEnter)
{
    user32::SetMessageTrace(Record);
    delivered.clear();
    bool enabledWhileOpen = true;
    user32::testing::AfterMilliseconds(50, [&] {
        enabledWhileOpen = IsWindowEnabled(hWnd);
        EXPECT_TRUE(user32::testing::PressKey(user32::testing::Key::Escape));
        user32::testing::AfterMilliseconds(50, [] { user32::testing::PressKey(user32::testing::Key::Return); });
    });
    INT_PTR result = DialogBoxParamA(hInst, szHelpAbout, hWnd, HAboutDlgProc, 0);
    user32::SetMessageTrace(nullptr);
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(enabledWhileOpen);
    EXPECT_TRUE(IsWindowEnabled(hWnd));
    std::vector<WPARAM> commands;
    for (const Delivered& d : delivered) {
        if (d.message == WM_COMMAND && d.hwnd != hWnd)
            commands.push_back(LOWORD(d.wParam));
    }
    EXPECT_EQ(commands, (std::vector<WPARAM>{IDCANCEL, IDOK}));
}

// An Exit already queued when a box opens is taken by the box's modal loop:
// the window goes, and the box with it.
TEST_F(MainWindowRunning, ExitQueuedUnderABoxEndsTheBox)
{
    void (*const boxes[])(HWND) = {AboutCommand, OpenCommand,
                                   [](HWND hwnd) { MessageBoxA(hwnd, "text", "caption", MB_ICONSTOP | MB_OK); }};
    for (auto box : boxes) {
        if (!IsWindow(hWnd))
            SetUp();
        PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDM_EXIT, 0), 0);
        box(hWnd);
        EXPECT_FALSE(IsWindow(hWnd));
    }
}

TEST_F(MainWindowRunning, MissingDialogTemplateFails)
{
    EXPECT_EQ(DialogBoxParamA(hInst, "NOSUCHDIALOG", hWnd, HAboutDlgProc, 0), -1);
}

} // namespace
