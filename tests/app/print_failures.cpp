// The Print command without a printer says so, in a stop message that the
// main window owns, instead of doing nothing.
#include "app/print.h"
#include "main_window_fixture.h"
#include "platform/user32/testing.h"

#include <cstdlib>

using PrintFailures = MainWindowRunning;

TEST_F(PrintFailures, NoPrinterIsToldInAMessage)
{
    setenv("CUPS_SERVER", "/nonexistent/cups.sock", 1); // before this process's first CUPS call
    static std::u16string message;
    user32::testing::AfterMilliseconds(300, [] {
        message = user32::testing::ModalBoxText();
        user32::testing::PressKey(user32::testing::Key::Return);
    });
    PrintCommand(hWnd);
    EXPECT_EQ(message, u"既定のプリンタが見つかりません。");
    EXPECT_EQ(hDCLPT, nullptr);
}
