// The record before any file is loaded, and what InitMeasData resets.
#include "pidfile.h"

#include <gtest/gtest.h>

// Runs first in its own process, so the record still holds its start values.
TEST(RecordStartValues, ParametersAndFinalValuesStartAsBuiltIn)
{
    EXPECT_EQ(iPramRotate, 45);
    EXPECT_EQ(iPramProp, 80);
    EXPECT_EQ(iPramInt, 0);
    EXPECT_EQ(iPramDiff, 0);
    EXPECT_EQ(iPramSamp, 5);
    EXPECT_EQ(iMeasTime, 0);
    EXPECT_EQ(iMeasRotate, 0);
    EXPECT_EQ(iOpeOut0, 0);
    for (BYTE b : cPIDHeader)
        EXPECT_EQ(b, 0);
}

TEST(RecordStartValues, InitMeasDataEmptiesSamplesAndOutputOnly)
{
    pidtest::fillRecordWithMarkers();
    auto before = pidtest::snapshotRecord();
    InitMeasData();
    for (BYTE b : cMeasData)
        EXPECT_EQ(b, PID_NO_SAMPLE);
    EXPECT_EQ(iOpeOut0, 0);
    auto after = pidtest::snapshotRecord();
    after.samples = before.samples;
    after.opeOut = before.opeOut;
    EXPECT_EQ(after, before); // parameters, time, speed and header untouched
}
