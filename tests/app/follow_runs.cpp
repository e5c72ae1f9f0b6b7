// Which run 自動更新 shows, and when: a run is read beside a writer that
// still has it open, without keeping it out.
#include "main_window_fixture.h"
#include "pidfile.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

TEST(FollowRuns, ARunIsReadBesideItsWriter)
{
    pidtest::ScratchDir dir;
    pidtest::PidValues run;
    run.rotate = 30;
    std::string path = dir.write("RUN.PID", pidtest::pidImage(run));
    int writer = ::open(path.c_str(), O_RDWR);
    EXPECT_EQ(LoadMeasData(path.c_str()), LOAD_ACCEPTED);
    EXPECT_EQ(iPramRotate, 30);
    ::close(writer);
}

} // namespace
