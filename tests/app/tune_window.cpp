// The tuning window's copy, whose cells hold a file name with control
// characters as one cell and name each curve, and its 出力上限 dialog, which
// takes a number (with a point or a comma), nothing, or is cancelled, and
// refuses anything else with a message, staying open.
#include "analysis/motor_sim.h"
#include "app/compare.h"
#include "app/resource.h"
#include "app/tune.h"
#include "main_window_fixture.h"
#include "platform/user32/testing.h"

#include <sstream>
#include <vector>

namespace {

using TuneWindow = MainWindowRunning;
using namespace user32::testing;

std::vector<std::vector<std::string>> Cells(const char* text)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line, '\n');) {
        std::istringstream cells(line.substr(0, line.size() - 1)); // without its CR
        rows.emplace_back();
        for (std::string cell; std::getline(cells, cell, '\t');)
            rows.back().push_back(cell);
    }
    return rows;
}

// The dialog given *pd, with text typed into its box (nullptr: as it
// opens) and the keys pressed; what it ended with, or -1 while still open.
INT_PTR AskLimit(double* pd, const char* text, std::vector<Key> keys, std::string* pShown = nullptr)
{
    static HWND dialog;
    DLGPROC watched = [](HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) -> INT_PTR {
        dialog = msg == WM_INITDIALOG ? hDlg : dialog;
        return HLimitDlgProc(hDlg, msg, wParam, lParam);
    };
    AfterMilliseconds(200, [=] {
        char shown[32];
        GetDlgItemTextA(dialog, IDC_LIMITVALUE, shown, sizeof shown);
        if (pShown != nullptr)
            *pShown = shown;
        if (text != nullptr)
            SetDlgItemTextA(dialog, IDC_LIMITVALUE, text);
        for (std::size_t i = 0; i < keys.size(); ++i)
            AfterMilliseconds(100 * static_cast<int>(i), [key = keys[i]] { PressKey(key); });
        AfterMilliseconds(1000, [open = dialog] { IsWindow(open) && EndDialog(open, -1); });
    });
    return DialogBoxParamA(hInst, "PIDLIMIT", hWnd, watched, reinterpret_cast<LPARAM>(pd));
}

} // namespace

TEST_F(TuneWindow, CopyNamesEachCurveAndKeepsANameInOneCell)
{
    const MEASRECORD rec = motorsim::Simulate({2.0, 0.5, 0.05}, {40, 40, 50, 0, 2}).rec;
    static TUNING tune;
    CalcTuning(&rec, nullptr, &tune);
    ASSERT_TRUE(tune.bSuggestion);
    static TUNESHOWN previous;
    previous.tune = tune;
    previous.set = tune.pi;
    strcpy(previous.szCurve, "前回の予測 (PI)");
    static char copy[COMPARE_COPY_SIZE];
    MakeTuneCopy(&tune, &rec, "試験\tA\rB\nC.PID", &previous, copy);
    const auto rows = Cells(copy);
    ASSERT_EQ(rows.size(), 5u);
    const char* const curves[] = {"測定", "前回の予測 (PI)", "PI 提案", "PID 提案"};
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), rows[0].size()) << i;
        EXPECT_EQ(rows[i][0], "試験?A?B?C.PID");
        EXPECT_EQ(rows[i][1], curves[i - 1]);
    }
    EXPECT_EQ(rows[1][2], "40"); // the run's own Kp
}

TEST_F(TuneWindow, LimitDialogTakesNumbersNothingOrCancelAndRefusesWords)
{
    double d = 31.875;
    std::string shown;
    EXPECT_EQ(AskLimit(&d, nullptr, {Key::Return}, &shown), IDOK);
    EXPECT_EQ(shown, "31.875");
    EXPECT_EQ(d, 31.875);
    EXPECT_EQ(AskLimit(&d, "45,5", {Key::Return}), IDOK);
    EXPECT_EQ(d, 45.5);
    EXPECT_EQ(AskLimit(&d, "7", {Key::Escape}), IDCANCEL);
    EXPECT_EQ(d, 45.5);
    EXPECT_EQ(AskLimit(&d, "", {Key::Return}), IDOK);
    EXPECT_EQ(d, 0.0);
    for (const char* word : {"abc", "0", "-3", "1.2.3"}) {
        std::u16string message;
        AfterMilliseconds(500, [&message] { message = ModalBoxText(); PressKey(Key::Return); });
        EXPECT_EQ(AskLimit(&d, word, {Key::Return}), -1) << word;
        EXPECT_NE(message.find(u"出力上限"), std::u16string::npos) << word;
    }
    EXPECT_EQ(d, 0.0);
}
