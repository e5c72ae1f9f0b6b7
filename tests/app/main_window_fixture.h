// The program's main window made as WinMain makes it, for in-process tests
// that drive its commands; destroyed after each test.
#pragma once

#include "app/pidview.h"
#include "platform/resources/resources.h"

#include <gtest/gtest.h>

class MainWindowRunning : public testing::Test {
protected:
    void SetUp() override
    {
        // The class as WinMain registers it, when WinMain has not run here.
        WNDCLASSA wc{};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = MainWndProc;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszMenuName = szMainAppName;
        wc.lpszClassName = szMainAppName;
        RegisterClassA(&wc);
        hWnd = CreateWindowExA(0, szMainAppName, szTitle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                               CW_USEDEFAULT, 800, 540, nullptr, nullptr, resources::ProgramInstance(), nullptr);
        ASSERT_NE(hWnd, nullptr);
        hInst = resources::ProgramInstance();
        szPageFile[0] = '\0'; // no run shown yet, as in a new process
    }
    void TearDown() override
    {
        if (IsWindow(hWnd))
            DestroyWindow(hWnd);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
};
