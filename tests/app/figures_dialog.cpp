// The figures dialog over the run on screen: the value it shows in each row,
// "―" where the run has none, and the two lines its copy button puts on the
// clipboard.
#include "app/pidview.h"
#include "app/resource.h"
#include "main_window_fixture.h"
#include "pidfile.h"
#include "platform/user32/testing.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

using FiguresDialog = MainWindowRunning;
using namespace user32::testing;
using Texts = std::vector<std::u16string>;

struct Shown {
    Texts values;
    std::u16string copied;
};

// Opens the dialog, reads its values, presses the copy button and closes it
// with Escape.
Shown ShowFigures(HWND hwnd)
{
    Shown shown;
    AfterMilliseconds(200, [&shown] {
        for (int i = 0; i < 12; ++i)
            shown.values.push_back(DialogItemText(IDC_FIGVALUE + i));
        ClickDialogButton(IDC_FIGCOPY);
        shown.copied = ClipboardText();
        PressKey(Key::Escape);
    });
    FiguresCommand(hwnd);
    return shown;
}

void Load(const pidtest::PidValues& values)
{
    pidtest::ScratchDir dir;
    ASSERT_EQ(LoadMeasData(dir.write("run.PID", pidtest::pidImage(values)).c_str()), LOAD_ACCEPTED);
}

TEST_F(FiguresDialog, StartValuesShowNoTimeBasedFigureAndCopyEmptyCells)
{
    Shown shown = ShowFigures(hWnd);
    EXPECT_EQ(shown.values, (Texts{u"4500", u"80", u"0", u"0", u"50", u"―", u"―", u"―", u"―", u"―", u"4500", u"―"}));
    EXPECT_EQ(shown.copied,
              u"目標回転数 [rpm]\t比例係数 Kp [%]\t積分時間 Ti [ms]\t微分時間 Td [ms]\tサンプリング周期 [ms]\t"
              u"立ち上がり時間 [s]\t最大回転数 [rpm]\t最大回転数の時刻 [s]\t行過ぎ [%]\t"
              u"整定時間 ±5% [s]\t定常偏差 [rpm]\t絶対偏差積分 IAE [rpm・s]\r\n"
              u"4500\t80\t0\t0\t50\t\t\t\t\t\t4500\t\r\n");
}

TEST_F(FiguresDialog, OvershootingRunShowsAndCopiesItsFigures)
{
    // 4000 rpm every 100 ms: 0, 1000, 3000, 4500, 4200, then 4000 to the end.
    pidtest::PidValues run;
    run.rotate = run.measRotate = 40;
    run.samp = 10;
    run.samples.fill(40);
    const std::uint8_t rising[] = {0, 10, 30, 45, 42};
    std::copy(std::begin(rising), std::end(rising), run.samples.begin());
    Load(run);
    Shown shown = ShowFigures(hWnd);
    EXPECT_EQ(shown.values, (Texts{u"4000", u"80", u"0", u"0", u"100", u"0.200", u"4500", u"0.300", u"12.5", u"0.400",
                                   u"0", u"670.0"}));
    EXPECT_TRUE(shown.copied.ends_with(u"\n4000\t80\t0\t0\t100\t0.200\t4500\t0.300\t12.5\t0.400\t0\t670.0\r\n"));
}

TEST_F(FiguresDialog, StoredExtremesShowInFull)
{
    pidtest::PidValues high; // every sample 0 rpm, every integer at its largest
    high.rotate = high.prop = high.integral = high.diff = high.samp = INT_MAX;
    high.measRotate = INT_MIN;
    Load(high);
    Texts shown = ShowFigures(hWnd).values;
    EXPECT_EQ(Texts(shown.begin(), shown.end() - 1),
              (Texts{u"214748364700", u"2147483647", u"21474836470", u"21474836470", u"21474836470", u"―", u"0",
                     u"0.000", u"0.0", u"―", u"429496729500"}));
    // 255 x 2 x 214748364700 rpm x 21474836.47 s / 2, to a double's precision.
    EXPECT_TRUE(shown.back().starts_with(u"117597993360376") && shown.back().size() == 24) << shown.back().size();

    pidtest::PidValues low;
    low.rotate = low.prop = low.integral = low.diff = low.samp = INT_MIN;
    low.measRotate = INT_MAX;
    Load(low);
    EXPECT_EQ(ShowFigures(hWnd).values,
              (Texts{u"-214748364800", u"-2147483648", u"-21474836480", u"-21474836480", u"-21474836480", u"―", u"0",
                     u"―", u"―", u"―", u"-429496729500", u"―"}));
}

} // namespace
