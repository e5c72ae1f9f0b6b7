// The tuning chart: four legend rows named after their curves, each with its
// Kp, and the model, the assumed law and the warnings under them.
#include "page_fixture.h"
#include "picture/tune_chart.h"

using namespace pagetest;

TEST(tune_chart, four_named_rows_with_their_settings_and_the_notes_under_them)
{
    MEASRECORD rec{};
    ASSERT_EQ(ReadMeasFile(PIDVIEW_EXAMPLES "/PI_STEP.PID", &rec), LOAD_ACCEPTED);
    static TUNING tune;
    CalcTuning(&rec, &tune);
    ASSERT_TRUE(tune.bSuggestion);
    static COMPARESET set;
    MakeTuneChart(&rec, &tune, &set);
    Surface s;
    Disp_Compare(s.hdc, &set);

    EXPECT_TRUE(TextShows(s, 84, 326, "曲線"));
    const char* const names[] = {"測定", "モデル", "PI 提案", "PID 提案"};
    const int kp[] = {60, 60, tune.pi.iProp, tune.pid.iProp};
    for (int i = 0; i < 4; ++i) {
        const std::string value = std::to_string(kp[i]);
        EXPECT_TRUE(TextShows(s, 84, 342 + 16 * i, names[i]));
        EXPECT_TRUE(TextShows(s, 440 - 8 * static_cast<int>(value.size()), 342 + 16 * i, value)); // Kp's column ends at 440
    }
    EXPECT_TRUE(TextShows(s, 18, 406, "モデル: K = "));
    EXPECT_TRUE(TextShows(s, 18, 422, "制御則 (想定): u = Kp/100"));
    EXPECT_TRUE(TextShows(s, 18, 438, std::string("PI 提案: ") + tune.pi.szWarning));
    EXPECT_TRUE(TextShows(s, 18, 454, std::string("PID 提案: ") + tune.pid.szWarning));
}
