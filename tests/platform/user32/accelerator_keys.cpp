// The program's accelerator tables read back from the compiled .res, and
// TranslateAcceleratorA in a loop like the program's: a key that names an
// entry with exactly its modifiers sends the command (HIWORD 1) instead of
// the key, and sends nothing while its menu item is greyed.
#include "app/resource.h"
#include "platform/resources/accelerators.h"
#include "platform/resources/resources.h"
#include "platform/user32/testing.h"
#include "platform/user32/testing_input.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using resources::Accelerator;

std::vector<Accelerator> Table(const char* name)
{
    auto data = resources::Find(resources::Id{resources::kTypeAccelerator, {}}, resources::IdFromName(name));
    return data ? resources::ReadAccelerators(*data).value_or(std::vector<Accelerator>{}) : std::vector<Accelerator>{};
}

TEST(AcceleratorKeys, TablesOfEachWindowClass)
{
    constexpr BYTE kCtrl = FVIRTKEY | FCONTROL;
    EXPECT_EQ(Table("ZARVEN"), (std::vector<Accelerator>{{FVIRTKEY, VK_F5, IDM_RELOAD}}));
    EXPECT_EQ(Table("PIDCOMPARE"), (std::vector<Accelerator>{{kCtrl, 'C', IDM_COMPARE_COPY},
                                                             {kCtrl, 'P', IDM_COMPARE_PRINT},
                                                             {kCtrl, 'W', IDM_COMPARE_CLOSE},
                                                             {kCtrl, VK_F4, IDM_COMPARE_CLOSE}}));
    EXPECT_EQ(Table("PIDTUNE"), (std::vector<Accelerator>{{kCtrl, 'C', IDM_TUNE_COPY},
                                                          {kCtrl, 'P', IDM_TUNE_PRINT},
                                                          {kCtrl, 'W', IDM_TUNE_CLOSE},
                                                          {kCtrl, VK_F4, IDM_TUNE_CLOSE}}));
    // An entry of a table cut short, without the mark of the last.
    const std::byte unmarked[] = {std::byte{1}, std::byte{0}, std::byte{0x74}, std::byte{0},
                                  std::byte{102}, std::byte{0}, std::byte{0}, std::byte{0}};
    EXPECT_FALSE(resources::ReadAccelerators(unmarked).has_value());
    EXPECT_EQ(LoadAcceleratorsA(nullptr, "NOSUCH"), nullptr);
}

std::vector<WPARAM> commands;
std::vector<WPARAM> keys;

LRESULT CALLBACK TuneProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND)
        commands.push_back(wParam);
    if (msg == WM_KEYDOWN)
        keys.push_back(wParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The program's loop with the window's table until the window system is done.
void Pump(HWND hwnd, HACCEL accelerators)
{
    user32::testing::AfterMilliseconds(20, [] { PostMessageA(nullptr, WM_USER, 0, 0); });
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_USER) {
        if (!TranslateAcceleratorA(hwnd, accelerators, &msg))
            DispatchMessageA(&msg);
    }
}

TEST(AcceleratorKeys, KeysSendTheirCommandsUnlessTheItemIsGreyed)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = TuneProc;
    wc.lpszMenuName = "PIDTUNE";
    wc.lpszClassName = "PIDTUNE";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "PIDTUNE", "tune", WS_CAPTION | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
    HACCEL table = LoadAcceleratorsA(nullptr, "PIDTUNE");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(LoadAcceleratorsA(nullptr, "pidtune"), table); // loaded once, names without case
    Pump(hwnd, table);

    using user32::testing::TypeKeys;
    for (const char* sequence : {"Ctrl+W", "Ctrl+F4", "Ctrl+Shift+W", "W", "Ctrl+C"})
        TypeKeys(hwnd, sequence);
    EnableMenuItem(GetMenu(hwnd), IDM_TUNE_PRINT, MF_GRAYED);
    TypeKeys(hwnd, "Ctrl+P");
    Pump(hwnd, table);
    EXPECT_EQ(commands, (std::vector<WPARAM>{MAKEWPARAM(IDM_TUNE_CLOSE, 1), MAKEWPARAM(IDM_TUNE_CLOSE, 1),
                                             MAKEWPARAM(IDM_TUNE_COPY, 1)}));
    // The keys no entry names reach the window; those taken do not.
    EXPECT_EQ(keys, (std::vector<WPARAM>{VK_CONTROL, VK_CONTROL, VK_CONTROL, VK_SHIFT, 'W', 'W', VK_CONTROL,
                                         VK_CONTROL}));

    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_FALSE(DestroyAcceleratorTable(table));
    MSG msg{hwnd, WM_KEYDOWN, 'W', 0, 0, {}};
    EXPECT_EQ(TranslateAcceleratorA(hwnd, table, &msg), 0);
    DestroyWindow(hwnd);
}

} // namespace
