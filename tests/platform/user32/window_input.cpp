// The pointer's and the keys' messages as a window procedure gets them:
// parameters and order, double clicks by class style, capture and leave
// tracking, the key state as of each message, and no input for a
// window under a modal box.
#include "platform/user32/testing.h"
#include "platform/user32/testing_input.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace user32::testing;

struct Got {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool control; // GetKeyState(VK_CONTROL) while the message is handled
};
std::vector<Got> got;
std::vector<Got> focusChanges;

LRESULT CALLBACK InputProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    bool input = (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST);
    if (input || msg == WM_MOUSELEAVE || msg == WM_CAPTURECHANGED)
        got.push_back({hwnd, msg, wParam, lParam, GetKeyState(VK_CONTROL) < 0});
    if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS)
        focusChanges.push_back({hwnd, msg, wParam, lParam, false});
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Runs the program's loop until the window system has nothing more to say.
void Pump()
{
    AfterMilliseconds(20, [] { PostMessageA(nullptr, WM_USER, 0, 0); });
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && !(msg.hwnd == nullptr && msg.message == WM_USER)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

HWND MakeWindow(const char* className, UINT classStyle = 0)
{
    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = InputProc;
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, className, className, WS_CAPTION | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
    Pump();
    got.clear();
    return hwnd;
}

std::vector<UINT> Messages()
{
    std::vector<UINT> result;
    for (const Got& each : got)
        result.push_back(each.message);
    return result;
}

TEST(WindowInput, ClicksInClientCoordinatesAndDoubleClicksByClassStyle)
{
    for (UINT style : {0u, static_cast<UINT>(CS_DBLCLKS)}) {
        HWND hwnd = MakeWindow(style ? "DoubleClickClass" : "ClickClass", style);
        SendMouse(hwnd, Mouse::Move, 30, 40);
        SendMouse(hwnd, Mouse::Press, 30, 40, false, kCtrl | kShift);
        SendMouse(hwnd, Mouse::Release, 30, 40);
        SendMouse(hwnd, Mouse::DoubleClick, 30, 40);
        SendMouse(hwnd, Mouse::Release, 30, 40);
        Pump();
        UINT second = style ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        EXPECT_EQ(Messages(), (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, second, WM_LBUTTONUP}));
        for (const Got& each : got)
            EXPECT_EQ(each.lParam, MAKELPARAM(30, 40));
        ASSERT_EQ(got.size(), 5u);
        EXPECT_EQ(got[1].wParam, static_cast<WPARAM>(MK_LBUTTON | MK_CONTROL | MK_SHIFT));
        EXPECT_TRUE(got[1].control);
        EXPECT_EQ(got[2].wParam, 0u);
        EXPECT_EQ(got[3].wParam, static_cast<WPARAM>(MK_LBUTTON));
        DestroyWindow(hwnd);
    }
}

TEST(WindowInput, MovesOutsideReachOnlyTheCaptureWithSignedCoordinates)
{
    HWND hwnd = MakeWindow("CaptureClass");
    SendMouse(hwnd, Mouse::Press, 10, 10);
    SendMouse(hwnd, Mouse::Move, -5, 300, true); // dragged out, not captured
    Pump();
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_LBUTTONDOWN}));
    got.clear();
    EXPECT_EQ(SetCapture(hwnd), nullptr);
    SendMouse(hwnd, Mouse::Move, 20, 20, true);
    SendMouse(hwnd, Mouse::Move, -5, -7, true); // waits with the one before: one move, the newer
    SendMouse(hwnd, Mouse::Release, -5, -7);
    Pump();
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONUP}));
    EXPECT_EQ(GET_X_LPARAM(got[0].lParam), -5);
    EXPECT_EQ(GET_Y_LPARAM(got[0].lParam), -7);
    EXPECT_EQ(got[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(GetCapture(), hwnd);
    got.clear();
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_CAPTURECHANGED}));
    EXPECT_EQ(got[0].lParam, 0);
    DestroyWindow(hwnd);
}

TEST(WindowInput, OneLeavePerTrackingAndAtOnceWhenThePointerIsElsewhere)
{
    HWND hwnd = MakeWindow("LeaveClass");
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd, 0};
    ASSERT_TRUE(TrackMouseEvent(&track)); // the pointer is not over it
    Pump();
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_MOUSELEAVE}));

    SendMouse(hwnd, Mouse::Move, 5, 5);
    Pump();
    TrackMouseEvent(&track);
    SendLeave(hwnd);
    SendMouse(hwnd, Mouse::Move, 6, 6);
    SendLeave(hwnd); // not asked again
    Pump();
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_MOUSELEAVE, WM_MOUSEMOVE, WM_MOUSELEAVE, WM_MOUSEMOVE}));

    // The capture holds the pointer: its leave comes at the release.
    SendMouse(hwnd, Mouse::Move, 7, 7);
    Pump();
    TrackMouseEvent(&track);
    SetCapture(hwnd);
    SendLeave(hwnd);
    Pump();
    got.clear();
    ReleaseCapture();
    Pump();
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_CAPTURECHANGED, WM_MOUSELEAVE}));
    DestroyWindow(hwnd);
}

TEST(WindowInput, KeysWithTheStateOfTheirTimeAndTheirCharacters)
{
    HWND hwnd = MakeWindow("KeyClass");
    ASSERT_TRUE(TypeKeys(hwnd, "Ctrl+W"));
    Pump(); // all four were queued before the first is handled
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_KEYDOWN, WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYUP}));
    EXPECT_EQ(got[0].wParam, static_cast<WPARAM>(VK_CONTROL));
    EXPECT_EQ(got[1].wParam, static_cast<WPARAM>('W'));
    EXPECT_EQ(got[2].wParam, 0x17u); // Ctrl+W types ETB
    EXPECT_TRUE(got[1].control && got[3].control);
    EXPECT_FALSE(got[4].control);
    EXPECT_EQ(got[1].lParam & 0xC000FFFF, 1);                       // once, was up, goes down
    EXPECT_EQ(static_cast<DWORD>(got[3].lParam) & 0xC000FFFF, 0xC0000001u); // was down, goes up

    got.clear();
    TypeKeys(hwnd, "Right", 2);
    Pump();
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_KEYDOWN, WM_KEYDOWN, WM_KEYDOWN, WM_KEYUP}));
    EXPECT_EQ(got[2].wParam, static_cast<WPARAM>(VK_RIGHT));
    EXPECT_EQ(got[2].lParam & (1 << 30), 1 << 30); // a repeat: it was down

    got.clear();
    TypeKeys(hwnd, "Alt+Q"); // no menu takes it
    Pump();
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_SYSKEYUP}));
    EXPECT_EQ(got[1].lParam & (1 << 29), 1 << 29);

    struct Case {
        const char* keys;
        WPARAM vk;
        WPARAM character; // 0: none
    };
    // Tab is a key, not a move of the focus.
    for (Case c : {Case{"Tab", VK_TAB, 0}, Case{"Num++", VK_ADD, '+'}, Case{"-", VK_OEM_MINUS, '-'},
                   Case{"+", VK_OEM_PLUS, '+'}}) {
        SCOPED_TRACE(c.keys);
        got.clear();
        TypeKeys(hwnd, c.keys);
        Pump();
        ASSERT_GE(got.size(), 2u);
        EXPECT_EQ(got[0].wParam, c.vk);
        EXPECT_EQ(got[1].message, c.character ? static_cast<UINT>(WM_CHAR) : static_cast<UINT>(WM_KEYUP));
        if (c.character) {
            EXPECT_EQ(got[1].wParam, c.character);
        }
    }
    DestroyWindow(hwnd);
}

TEST(WindowInput, FocusMovesWithTheActiveWindow)
{
    HWND first = MakeWindow("FirstClass");
    EXPECT_EQ(GetFocus(), first);
    focusChanges.clear();
    HWND second = MakeWindow("SecondClass");
    EXPECT_EQ(GetFocus(), second);
    ASSERT_EQ(focusChanges.size(), 2u);
    EXPECT_EQ(focusChanges[0].hwnd, first);
    EXPECT_EQ(focusChanges[0].message, static_cast<UINT>(WM_KILLFOCUS));
    EXPECT_EQ(focusChanges[0].wParam, reinterpret_cast<WPARAM>(second));
    EXPECT_EQ(focusChanges[1].message, static_cast<UINT>(WM_SETFOCUS));
    EXPECT_EQ(focusChanges[1].wParam, reinterpret_cast<WPARAM>(first));
    DestroyWindow(second);
    DestroyWindow(first);
}

TEST(WindowInput, NoInputForTheOwnerOfAModalBox)
{
    HWND owner = MakeWindow("OwnerClass");
    HWND other = MakeWindow("OtherClass");
    AfterMilliseconds(50, [] { PressKey(Key::Return); });
    // Waiting as the box opens: the owner's input is dropped, the other's is not.
    TypeKeys(owner, "Left");
    SendMouse(owner, Mouse::Press, 5, 5);
    TypeKeys(other, "Left");
    MessageBoxA(owner, "box", "box", MB_OK);
    Pump();
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP}));
    for (const Got& each : got)
        EXPECT_EQ(each.hwnd, other);
    DestroyWindow(owner);
    DestroyWindow(other);
}

} // namespace
