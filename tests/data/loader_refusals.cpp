// Files the loader refuses leave every field of the record as it was.
#include "pidfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace pidtest;

namespace {

class LoaderRefusals : public ::testing::Test {
protected:
    void SetUp() override
    {
        fillRecordWithMarkers();
        before = snapshotRecord();
    }
    void expectUnchanged() { EXPECT_EQ(snapshotRecord(), before); }

    ScratchDir dir;
    RecordSnapshot before{};
};

} // namespace

TEST_F(LoaderRefusals, WrongFormatMarksChangeNothing)
{
    for (std::uint8_t mark : {std::uint8_t{'m'}, std::uint8_t{0x00}, std::uint8_t{0xFF}, std::uint8_t{'N'}}) {
        PidValues v;
        v.mark = mark;
        EXPECT_EQ(LoadMeasData(dir.write("mark.PID", pidImage(v)).c_str()), LOAD_BADFORMAT) << int(mark);
        expectUnchanged();
    }
}

TEST_F(LoaderRefusals, ShortFilesAreWrongFormatAndChangeNothing)
{
    auto image = pidImage(PidValues{});
    for (std::size_t size : {0u, 1u, 128u, 148u, 404u, 415u}) {
        std::vector<std::uint8_t> shortImage(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_EQ(LoadMeasData(dir.write("short.PID", shortImage).c_str()), LOAD_BADFORMAT) << size;
        expectUnchanged();
    }
}

TEST_F(LoaderRefusals, UnopenablePathsReportCannotOpen)
{
    std::string fifo = dir.path("pipe.PID");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A FIFO with no writer must fail at once instead of blocking the open.
    for (std::string path : {dir.path("missing.PID"), dir.path(""), fifo, std::string("/dev/null"),
                             std::string(""), dir.path("missing/dir/x.PID")}) {
        EXPECT_EQ(LoadMeasData(path.c_str()), LOAD_CANNOTOPEN) << path;
        expectUnchanged();
    }
}

TEST_F(LoaderRefusals, StaleMarkDoesNotAcceptAnUnopenableOrEmptyFile)
{
    // The last file read left an 'M' in the header; that must not vouch for
    // a file that gives no header of its own.
    cPIDHeader[0] = 'M';
    before = snapshotRecord();
    EXPECT_EQ(LoadMeasData(dir.path("missing.PID").c_str()), LOAD_CANNOTOPEN);
    EXPECT_EQ(LoadMeasData(dir.write("empty.PID", {}).c_str()), LOAD_BADFORMAT);
    expectUnchanged();
}

TEST_F(LoaderRefusals, DirectoryAndOverlongPathCannotBeOpened)
{
    EXPECT_EQ(LoadMeasData(dir.path(".").c_str()), LOAD_CANNOTOPEN);
    std::string longPath(5000, 'a');
    EXPECT_EQ(LoadMeasData(longPath.c_str()), LOAD_CANNOTOPEN);
    expectUnchanged();
}
