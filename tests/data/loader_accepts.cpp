// A well-formed file replaces every field of the record.
#include "pidfile.h"

#include <gtest/gtest.h>

using namespace pidtest;

namespace {

PidValues distinctValues()
{
    PidValues v;
    v.rotate = 60; v.prop = 150; v.integral = 30; v.diff = 4; v.samp = 2;
    for (int i = 0; i < 256; ++i)
        v.samples[i] = static_cast<std::uint8_t>(i);
    v.measTime = 512; v.measRotate = 59; v.opeOut = 150;
    return v;
}

void expectRecordHolds(const PidValues& v, const std::vector<std::uint8_t>& image)
{
    EXPECT_EQ(iPramRotate, v.rotate);
    EXPECT_EQ(iPramProp, v.prop);
    EXPECT_EQ(iPramInt, v.integral);
    EXPECT_EQ(iPramDiff, v.diff);
    EXPECT_EQ(iPramSamp, v.samp);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(cMeasData[i], v.samples[i]) << "sample " << i;
    EXPECT_EQ(iMeasTime, v.measTime);
    EXPECT_EQ(iMeasRotate, v.measRotate);
    EXPECT_EQ(iOpeOut0, v.opeOut);
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(cPIDHeader[i], image[i]) << "header byte " << i;
}

} // namespace

TEST(LoaderAccepts, FullFileReplacesEveryFieldOfAnotherRecord)
{
    ScratchDir dir;
    PidValues v = distinctValues();
    auto image = pidImage(v);
    fillRecordWithMarkers();
    ASSERT_EQ(LoadMeasData(dir.write("run.PID", image).c_str()), LOAD_ACCEPTED);
    expectRecordHolds(v, image);
}

TEST(LoaderAccepts, IntegersAreLittleEndianSignedAtTheirLimits)
{
    ScratchDir dir;
    PidValues v = distinctValues();
    v.rotate = INT32_MIN; v.prop = INT32_MAX; v.integral = -1; v.diff = 0x01020304;
    v.samp = -2; v.measTime = -1; v.measRotate = INT32_MIN + 1; v.opeOut = -300;
    auto image = pidImage(v);
    EXPECT_EQ(image[140], 0x04); // low byte first
    ASSERT_EQ(LoadMeasData(dir.write("limits.PID", image).c_str()), LOAD_ACCEPTED);
    expectRecordHolds(v, image);
}

TEST(LoaderAccepts, LongerFileLoadsOnlyItsFirst416Bytes)
{
    ScratchDir dir;
    PidValues v = distinctValues();
    auto image = pidImage(v);
    auto longer = image;
    longer.resize(416 + 4096, 0xEE);
    fillRecordWithMarkers();
    ASSERT_EQ(LoadMeasData(dir.write("long.PID", longer).c_str()), LOAD_ACCEPTED);
    expectRecordHolds(v, image);
}

TEST(LoaderAccepts, HeaderBytesAfterTheMarkMayHoldAnything)
{
    ScratchDir dir;
    PidValues v = distinctValues();
    auto image = pidImage(v);
    for (int i = 1; i < 128; ++i)
        image[i] = static_cast<std::uint8_t>(i % 2 ? 0xFF : 0x00);
    ASSERT_EQ(LoadMeasData(dir.write("header.PID", image).c_str()), LOAD_ACCEPTED);
    expectRecordHolds(v, image);
}

TEST(LoaderAccepts, ExampleRunsAllLoad)
{
    for (const char* name : {"P_ONLY", "PI_STEP", "PID_FAST", "PID_SLOW", "STOPPED"}) {
        std::string path = std::string(PIDVIEW_EXAMPLES) + "/" + name + ".PID";
        EXPECT_EQ(LoadMeasData(path.c_str()), LOAD_ACCEPTED) << path;
        EXPECT_EQ(cPIDHeader[0], 'M');
    }
}
