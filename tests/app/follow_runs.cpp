// Which run 自動更新 shows, and when: every run that changes is shown,
// whatever its write time says (copied with its time kept, rewritten within
// one tick, beside a file dated in the future), and one that could not be
// read once it can; the folder watched is the one where the run really is;
// a folder that goes is said once. A run is read beside a writer that still
// has it open, without keeping it out.
#include "capabilities.h"
#include "main_window_fixture.h"
#include "pidfile.h"
#include "platform/user32/testing.h"

#include "app/resource.h"

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace {

using FollowRuns = MainWindowRunning;
using namespace std::chrono;
using pidtest::ScratchDir;
namespace fs = std::filesystem;

std::string WriteRun(const ScratchDir& dir, const std::string& name, int rotate)
{
    pidtest::PidValues run;
    run.rotate = rotate;
    return dir.write(name, pidtest::pidImage(run));
}

void Follow(const std::string& path)
{
    LoadChosenFile(hWnd, path.c_str(), static_cast<UINT>(path.size()));
    SendMessageA(hWnd, WM_COMMAND, IDM_AUTOUPDATE, 0);
}

// Runs the window's messages, as the program's loop does, until done() or
// the time is up; a message posted every 20 ms ends each wait.
bool Within(milliseconds time, const std::function<bool()>& done)
{
    for (auto end = steady_clock::now() + time; !done();) {
        if (steady_clock::now() >= end)
            return false;
        user32::testing::AfterMilliseconds(20, [] { PostMessageA(hWnd, WM_NULL, 0, 0); });
        MSG msg;
        if (GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
    }
    return true;
}
bool Shows(int rotate, milliseconds time = seconds(3))
{
    return Within(time, [&] { return iPramRotate == rotate; });
}

TEST_F(FollowRuns, EveryChangedRunIsShownWhateverItsWriteTime)
{
    ScratchDir dir;
    std::string first = WriteRun(dir, "A.PID", 10);
    const auto anHourAgo = fs::last_write_time(first) - hours(1);
    fs::last_write_time(first, anHourAgo);
    Follow(first);
    fs::last_write_time(dir.write("notes.PID", {'M', 0, 0, 0}), anHourAgo + hours(24 * 365 * 5));
    fs::last_write_time(WriteRun(dir, "B.PID", 20), anHourAgo); // copied in with its time kept
    EXPECT_TRUE(Shows(20));
    fs::last_write_time(WriteRun(dir, "A.PID", 30), anHourAgo); // the same size, the same time
    EXPECT_TRUE(Shows(30));
}

TEST_F(FollowRuns, ARunThatCouldNotBeReadIsShownOnceItCan)
{
    ScratchDir dir;
    Follow(WriteRun(dir, "A.PID", 10));
    std::string locked = WriteRun(dir, "B.tmp", 20);
    fs::permissions(locked, fs::perms::none);
    pidtest::WithoutCapabilities asAnOrdinaryUser({CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH});
    fs::rename(locked, dir.path("B.PID"));
    EXPECT_FALSE(Shows(20, milliseconds(1500)));
    fs::permissions(dir.path("B.PID"), fs::perms::owner_read);
    EXPECT_TRUE(Shows(20));
}

TEST_F(FollowRuns, TheFolderWatchedIsTheRunsOwn)
{
    ScratchDir links, runs;
    fs::create_symlink(WriteRun(runs, "A.PID", 10), links.path("LATEST.PID"));
    Follow(links.path("LATEST.PID"));
    WriteRun(runs, "B.PID", 20);
    EXPECT_TRUE(Shows(20));
}

TEST_F(FollowRuns, AFolderThatGoesIsSaidOnce)
{
    auto dir = std::make_unique<ScratchDir>();
    Follow(WriteRun(*dir, "A.PID", 10));
    dir.reset();
    std::u16string message;
    int looks = 0, boxes = 0;
    std::function<void()> answer = [&] {
        std::u16string text = user32::testing::ModalBoxText();
        if (!text.empty()) {
            message = text;
            boxes++;
            user32::testing::PressKey(user32::testing::Key::Return);
        }
        if (++looks < 30)
            user32::testing::AfterMilliseconds(100, answer);
    };
    user32::testing::AfterMilliseconds(100, answer);
    Within(seconds(10), [&] { return looks >= 30; });
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(message, u"監視中のフォルダが見つかりません。自動更新を終了しました。");
    EXPECT_EQ(GetMenuState(GetMenu(hWnd), IDM_AUTOUPDATE, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

TEST(FollowWriters, ARunIsReadBesideItsWriter)
{
    ScratchDir dir;
    std::string path = WriteRun(dir, "RUN.PID", 30);
    int writer = ::open(path.c_str(), O_RDWR);
    EXPECT_EQ(LoadMeasData(path.c_str()), LOAD_ACCEPTED);
    EXPECT_EQ(iPramRotate, 30);
    ::close(writer);
}

} // namespace
