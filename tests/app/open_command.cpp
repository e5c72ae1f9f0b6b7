// The Open command when the chosen file goes away after the dialog has
// closed and before the program reads it, as another program may do.
#include "app/pidview.h"
#include "main_window_fixture.h"
#include "pidfile.h"
#include "platform/comdlg32/testing.h"
#include "platform/user32/testing.h"

#include <unistd.h>

namespace {

using OpenCommandRace = MainWindowRunning;
using user32::testing::AfterMilliseconds;
using user32::testing::Key;
using user32::testing::PressKey;

TEST_F(OpenCommandRace, FileDeletedAfterChoosingShowsCannotOpenAndKeepsTheRecord)
{
    pidtest::ScratchDir dir;
    pidtest::PidValues shown;
    shown.rotate = 30;
    ASSERT_EQ(LoadMeasData(dir.write("shown.PID", pidtest::pidImage(shown)).c_str()), LOAD_ACCEPTED);
    const pidtest::RecordSnapshot before = pidtest::snapshotRecord();

    pidtest::PidValues doomed;
    doomed.rotate = 60;
    std::string path = dir.write("doomed.PID", pidtest::pidImage(doomed));
    // The dialog comes up on the previous choice: Enter takes it.
    strcpy(szFileName, path.c_str());

    std::string chosen;
    std::u16string message;
    comdlg32::testing::SetChoiceHook([&](const char* choice) {
        chosen = choice;
        unlink(choice);
        AfterMilliseconds(200, [&] {
            message = user32::testing::ModalBoxText();
            PressKey(Key::Return);
        });
    });
    AfterMilliseconds(500, [] { PressKey(Key::Return); });
    OpenCommand(hWnd);
    comdlg32::testing::SetChoiceHook(nullptr);

    EXPECT_EQ(chosen, path);
    EXPECT_EQ(message, u"ファイルを開けません。");
    EXPECT_EQ(pidtest::snapshotRecord(), before);
    EXPECT_TRUE(IsWindow(hWnd));
}

} // namespace
