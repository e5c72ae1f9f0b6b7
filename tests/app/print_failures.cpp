// The Print command tells why nothing is printed: its stop message, read
// from the box the main window owns. Runs against a private CUPS scheduler
// whose default queue is "PDF" (with_cups.sh).
#include "app/print.h"
#include "main_window_fixture.h"
#include "platform/user32/testing.h"

#include <cstdlib>

namespace {

using PrintFailures = MainWindowRunning;

std::u16string PrintMessage()
{
    static std::u16string message;
    message.clear();
    user32::testing::AfterMilliseconds(300, [] {
        message = user32::testing::ModalBoxText();
        user32::testing::PressKey(user32::testing::Key::Return);
    });
    PrintCommand(hWnd);
    return message;
}

TEST_F(PrintFailures, ARefusedJobAndAMissingPrinterHaveTheirMessages)
{
    ASSERT_EQ(std::system("lpadmin -p PDF -o printer-op-policy=password"), 0);
    EXPECT_EQ(PrintMessage(), u"印刷を開始できません。");
    // Deleting the default queue leaves the server without a default.
    ASSERT_EQ(std::system("lpadmin -p PDF -o printer-op-policy=default && lpadmin -x PDF"), 0);
    EXPECT_EQ(PrintMessage(), u"既定のプリンタが見つかりません。");
    EXPECT_EQ(hDCLPT, nullptr);
}

} // namespace
