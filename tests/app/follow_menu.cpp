// The items that act on the run on screen (File > 再読み込み and 自動更新,
// データのコピー, 応答特性, 調整の提案) are greyed until a file is on screen;
// the check mark showing whether the folder is watched, and watching ended
// by a file opened by hand in another folder, not by one in the same.
#include "main_window_fixture.h"
#include "pidfile.h"

#include "app/resource.h"

namespace {

using FollowMenu = MainWindowRunning;

UINT State(UINT id)
{
    return GetMenuState(GetMenu(hWnd), id, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED);
}

void Open(const std::string& path)
{
    LoadChosenFile(hWnd, path.c_str(), static_cast<UINT>(path.size()));
}

TEST_F(FollowMenu, WatchingFollowsTheFolderOfTheFileOnScreen)
{
    pidtest::ScratchDir bench, other;
    std::string first = bench.write("A.PID", pidtest::pidImage({}));
    std::string second = bench.write("B.PID", pidtest::pidImage({}));
    std::string elsewhere = other.write("C.PID", pidtest::pidImage({}));
    for (UINT id : {IDM_RELOAD, IDM_AUTOUPDATE, IDM_COPYDATA, IDM_FIGURES, IDM_TUNE})
        EXPECT_EQ(State(id), static_cast<UINT>(MF_GRAYED)) << id;
    SendMessageA(hWnd, WM_COMMAND, IDM_AUTOUPDATE, 0); // greyed: nothing to watch
    EXPECT_EQ(State(IDM_AUTOUPDATE), static_cast<UINT>(MF_GRAYED));

    Open(first);
    for (UINT id : {IDM_RELOAD, IDM_COPYDATA, IDM_FIGURES, IDM_TUNE})
        EXPECT_EQ(State(id), 0u) << id;
    SendMessageA(hWnd, WM_COMMAND, IDM_AUTOUPDATE, 0);
    EXPECT_EQ(State(IDM_AUTOUPDATE), static_cast<UINT>(MF_CHECKED));
    Open(second);
    EXPECT_EQ(State(IDM_AUTOUPDATE), static_cast<UINT>(MF_CHECKED));
    Open(elsewhere);
    EXPECT_EQ(State(IDM_AUTOUPDATE), 0u);
    SendMessageA(hWnd, WM_COMMAND, IDM_AUTOUPDATE, 0);
    SendMessageA(hWnd, WM_COMMAND, IDM_AUTOUPDATE, 0);
    EXPECT_EQ(State(IDM_AUTOUPDATE), 0u); // on and off again
}

} // namespace
