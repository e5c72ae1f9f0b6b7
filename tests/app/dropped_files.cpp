// Files dropped on the main window from a file manager: the first local file
// opens as if chosen with Open, its name kept byte for byte and shown in the
// title; nothing is taken from other URIs or while a message box is open.
#include "main_window_fixture.h"
#include "pidfile.h"
#include "platform/user32/testing.h"

namespace {

using DroppedFiles = MainWindowRunning;
using namespace user32::testing;

void DeliverPosted()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

std::string FileUri(const std::string& path, const char* host = "")
{
    std::string uri = std::string("file://") + host;
    for (unsigned char c : path) {
        char escape[4];
        snprintf(escape, sizeof escape, "%%%02X", c);
        uri += isalnum(c) || c == '/' || c == '.' ? std::string(1, static_cast<char>(c)) : escape;
    }
    return uri;
}

TEST_F(DroppedFiles, FirstLocalFileOpensAndNamesTheWindow)
{
    pidtest::ScratchDir dir;
    pidtest::PidValues first, second;
    first.rotate = 61;
    second.rotate = 62;
    std::string utf8 = dir.write("計測 ✓.PID", pidtest::pidImage(first));
    std::string shiftJis = dir.write("\x95\x5C\x8E\xA6 run.PID", pidtest::pidImage(second));
    ShowWindow(hWnd, SW_SHOW);

    ASSERT_TRUE(DropUriList(hWnd, "# dragged\r\nhttps://example.org/a.PID\r\n" + FileUri(utf8) + "\r\n" +
                                      FileUri(shiftJis) + "\r\n"));
    DeliverPosted();
    EXPECT_EQ(iPramRotate, 61);
    EXPECT_EQ(WindowTitle(hWnd), u"計測 ?.PID - PID制御計測データ表示(モータ版用) Ver1.00");

    ASSERT_TRUE(DropUriList(hWnd, FileUri(shiftJis, "localhost")));
    DeliverPosted();
    EXPECT_EQ(iPramRotate, 62);
    EXPECT_STREQ(szFileName, shiftJis.c_str());
    EXPECT_EQ(WindowTitle(hWnd), u"表示 run.PID - PID制御計測データ表示(モータ版用) Ver1.00");
}

TEST_F(DroppedFiles, RefusedWithoutALocalFileOrWhileAMessageBoxIsOpen)
{
    pidtest::ScratchDir dir;
    pidtest::PidValues run;
    run.rotate = 63;
    std::string path = dir.write("run.PID", pidtest::pidImage(run));
    ShowWindow(hWnd, SW_SHOW);
    const pidtest::RecordSnapshot before = pidtest::snapshotRecord();

    EXPECT_FALSE(DropUriList(hWnd, "https://example.org/run.PID\r\nfile://elsewhere" + path + "\r\n"));
    bool takenDuringBox = true;
    AfterMilliseconds(200, [&] {
        takenDuringBox = DropUriList(hWnd, FileUri(path));
        PressKey(Key::Return);
    });
    MessageBoxA(hWnd, "box", "box", MB_OK);
    DeliverPosted();
    EXPECT_FALSE(takenDuringBox);
    EXPECT_EQ(pidtest::snapshotRecord(), before);
}

} // namespace
