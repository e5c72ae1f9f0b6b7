// The tuning chart: a legend row for each curve it has, named after it with
// its Kp, the heading that names tau_c, and the model, what the fit found,
// the warnings and the assumed law under them.
#include "page_fixture.h"
#include "picture/tune_chart.h"

#include <cstring>

using namespace pagetest;

TEST(tune_chart, named_rows_with_their_settings_and_the_notes_under_them)
{
    MEASRECORD rec{};
    ASSERT_EQ(ReadMeasFile(PIDVIEW_EXAMPLES "/PID_FAST.PID", &rec), LOAD_ACCEPTED);
    TUNEOPTIONS opt;
    DefaultTuneOptions(&opt);
    opt.dTauC = 2;
    static TUNING tune;
    CalcTuning(&rec, &opt, &tune);
    ASSERT_TRUE(tune.bSuggestion && tune.model.bLimitFound && !tune.bPid) << tune.szReason;
    static COMPARESET set;
    // As a window shows a run made with the previous suggestion beside it.
    MakeTuneChart(&rec, &tune, &tune.pi.recPredicted, &set);
    Surface s;
    Disp_Compare(s.hdc, &set);

    // The heading, a row per curve and the notes, from the legend's top.
    const int top = LegendTop(&set), row = top + 22, notes = row + 16 * 4;
    EXPECT_TRUE(TextShows(s, 84, top + 6, "曲線 (τc = 2θe)"));
    const char* const names[] = {"測定", "前回の予測", "モデル", "PI 提案"};
    const int kp[] = {150, tune.pi.iProp, 150, tune.pi.iProp};
    for (int i = 0; i < 4; ++i) {
        const std::string value = std::to_string(kp[i]);
        EXPECT_TRUE(TextShows(s, 84, row + 16 * i, names[i]));
        EXPECT_TRUE(TextShows(s, 440 - 8 * static_cast<int>(value.size()), row + 16 * i, value)); // Kp's column ends at 440
    }
    EXPECT_TRUE(TextShows(s, 18, notes, "モデル: K = "));
    EXPECT_TRUE(TextShows(s, 18, notes + 16, tune.szNote));
    EXPECT_TRUE(TextShows(s, 18, notes + 32, std::string("PI 提案: ") + tune.pi.szWarning));
    EXPECT_STREQ(set.szNote[set.nNotes - 2], tune.szReason); // why no PID row
    EXPECT_EQ(std::string(set.szNote[set.nNotes - 1]).rfind("制御則 (想定)", 0), 0u);
}

// Each line within the legend's 94 cells, broken after a sentence.
TEST(tune_chart, a_run_without_a_suggestion_shows_why_in_lines_that_fit)
{
    MEASRECORD rec{};
    ASSERT_EQ(ReadMeasFile(PIDVIEW_EXAMPLES "/PI_STEP.PID", &rec), LOAD_ACCEPTED);
    rec.iPramProp = 0; // no model can be fitted
    static TUNING tune;
    CalcTuning(&rec, nullptr, &tune);
    static COMPARESET set;
    MakeTuneChart(&rec, &tune, nullptr, &set);
    EXPECT_EQ(set.nRuns, 1);
    EXPECT_EQ(std::string(set.szNote[0]), std::string("調整を提案できません: ") + tune.szReason);
    strcpy(tune.szReason, "測定開始時に回転数が 0 ではありません (1200 rpm)。いつ始まった運転か求められません。");
    MakeTuneChart(&rec, &tune, nullptr, &set);
    EXPECT_EQ(std::string(set.szNote[0]), "調整を提案できません: 測定開始時に回転数が 0 ではありません (1200 rpm)。");
    EXPECT_EQ(std::string(set.szNote[1]), "いつ始まった運転か求められません。");
    // A model of two lags, its numbers at their widest, in one line.
    tune.model.bModel = TRUE, tune.model.dGain = 12.3, tune.model.dTauS = 12.3456, tune.model.dTau2S = 0.3326;
    tune.model.dThetaS = 1.2345, tune.model.dRmsRpm = 123;
    MakeTuneChart(&rec, &tune, nullptr, &set);
    EXPECT_EQ(std::string(set.szNote[0]),
              "モデル: K = 12.3 [100rpm/制御則の出力] τ = 12.3456 s τ2 = 0.3326 s θ = 1.2345 s RMS 123 rpm");
}
