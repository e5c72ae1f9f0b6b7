// Several files chosen together in the open dialog: the folder and the names
// that the program joins back into each chosen file's path.
#include "pidfile.h"
#include "platform/comdlg32/testing.h"
#include "platform/user32/testing.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

using user32::testing::AfterMilliseconds;
using user32::testing::Key;
using user32::testing::PressKey;

// The strings of the answer up to the empty one.
std::vector<std::string> Parts(const char* answer)
{
    std::vector<std::string> parts;
    for (const char* part = answer; *part != '\0'; part += parts.back().size() + 1)
        parts.emplace_back(part);
    return parts;
}

TEST(MultipleSelection, NamesFromTwoFoldersGoOnFromTheFolderHoldingBoth)
{
    // Same names in both folders: the first folder's y.PID is another run.
    pidtest::ScratchDir dir;
    std::filesystem::create_directories(dir.path("runs/a"));
    std::filesystem::create_directories(dir.path("runs/b"));
    for (const char* name : {"runs/a/x.PID", "runs/a/y.PID", "runs/b/x.PID", "runs/b/y.PID"})
        dir.write(name, {'M'});
    char buffer[4096] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = sizeof buffer;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    AfterMilliseconds(300, [&dir] {
        comdlg32::testing::TypeFileName('"' + dir.path("runs/a/x.PID") + "\" \"" + dir.path("runs/b/y.PID") + '"');
        PressKey(Key::Return);
    });
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(Parts(buffer), (std::vector<std::string>{dir.path("runs"), "a/x.PID", "b/y.PID"}));
    EXPECT_EQ(ofn.nFileOffset, dir.path("runs").size() + 1);
}

} // namespace
