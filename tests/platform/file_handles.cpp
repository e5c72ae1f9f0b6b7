// The file calls keep their Win32 contracts over POSIX.
#include "platform/win32.h"
#include "capabilities.h"
#include "pidfile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>

using pidtest::ScratchDir;

namespace {
HANDLE openForReading(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
HANDLE openSharing(const std::string& path, DWORD share)
{
    return CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
} // namespace

TEST(FileHandles, ReadReportsBytesDeliveredUpToEndOfFile)
{
    ScratchDir dir;
    HANDLE h = openForReading(dir.write("ten", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    BYTE buffer[16] = {};
    DWORD got = 99;
    EXPECT_TRUE(ReadFile(h, buffer, 4, &got, nullptr));
    EXPECT_EQ(got, 4u);
    EXPECT_TRUE(ReadFile(h, buffer, 16, &got, nullptr));
    EXPECT_EQ(got, 6u);
    EXPECT_EQ(buffer[0], 4);
    EXPECT_TRUE(ReadFile(h, buffer, 16, &got, nullptr)); // at the end: success, nothing read
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(SetFilePointer(h, 2, nullptr, FILE_BEGIN), 2u);
    EXPECT_TRUE(ReadFile(h, buffer, 1, &got, nullptr));
    EXPECT_EQ(buffer[0], 2);
    EXPECT_TRUE(CloseHandle(h));
}

TEST(FileHandles, NonRegularFilesFailLikeMissingOnes)
{
    ScratchDir dir;
    for (std::string path : {dir.path("nothing"), dir.path("."), std::string("/dev/zero")}) {
        SetLastError(0);
        EXPECT_EQ(openForReading(path), INVALID_HANDLE_VALUE) << path;
        EXPECT_NE(GetLastError(), 0u) << path;
    }
}

TEST(FileHandles, StaleAndForeignHandlesAreRefused)
{
    ScratchDir dir;
    HANDLE h = openForReading(dir.write("one", {1}));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(h));
    BYTE b = 0;
    DWORD got = 7;
    int notAHandle = 0;
    EXPECT_FALSE(ReadFile(h, &b, 1, &got, nullptr));
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_FALSE(CloseHandle(&notAHandle));
    EXPECT_EQ(SetFilePointer(INVALID_HANDLE_VALUE, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
}

TEST(FileHandles, StaleHandleStaysStaleWhenAnotherFileOpens)
{
    ScratchDir dir;
    const std::string oldPath = dir.write("old", {1});
    const std::string currentPath = dir.write("current", {2});
    HANDLE old = openForReading(oldPath);
    ASSERT_TRUE(CloseHandle(old));
    HANDLE current = openForReading(currentPath); // may take the old one's place
    ASSERT_NE(current, INVALID_HANDLE_VALUE);
    BYTE b = 0;
    DWORD got = 7;
    EXPECT_FALSE(ReadFile(old, &b, 1, &got, nullptr));
    EXPECT_FALSE(CloseHandle(old));
    EXPECT_TRUE(ReadFile(current, &b, 1, &got, nullptr));
    EXPECT_EQ(b, 2);
    EXPECT_TRUE(CloseHandle(current));
}

TEST(FileHandles, OnlyReadingExistingFilesIsOffered)
{
    ScratchDir dir;
    std::string path = dir.path("new");
    EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(std::filesystem::exists(path));
}

// Another process's writer (here a descriptor of our own, which the system
// counts alike) keeps out an open that denies writing until it closes, and
// lets one that shares writing read; the layer's own handles keep each other
// out as their share modes say.
TEST(FileHandles, SharingViolationsFollowTheShareModes)
{
    ScratchDir dir;
    std::string path = dir.write("RUN.PID", {1, 2, 3});
    int writer = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(writer, 0);
    SetLastError(0);
    EXPECT_EQ(openSharing(path, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    HANDLE reader = openSharing(path, kShareAll);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    ::close(writer);
    HANDLE denying = openSharing(path, FILE_SHARE_READ);
    EXPECT_NE(denying, INVALID_HANDLE_VALUE);

    EXPECT_EQ(openSharing(path, 0), INVALID_HANDLE_VALUE); // it would keep the two readers out
    EXPECT_TRUE(CloseHandle(reader));
    EXPECT_TRUE(CloseHandle(denying));
    HANDLE alone = openSharing(path, 0);
    ASSERT_NE(alone, INVALID_HANDLE_VALUE);
    EXPECT_EQ(openSharing(path, kShareAll), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(CloseHandle(alone));
    HANDLE again = openSharing(path, kShareAll);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(again));
}

// Where the system will not say whether a writer has the file open (another
// user's file, no right to lease it), a file that changed within the last
// half second counts as still being written.
TEST(FileHandles, WithoutALeaseARecentChangeCountsAsAWriter)
{
    ScratchDir dir;
    std::string path = dir.write("RUN.PID", {1, 2, 3});
    if (::chown(path.c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "giving the file to another user needs root";
    pidtest::WithoutCapabilities asAnotherUser({CAP_LEASE});
    EXPECT_EQ(openSharing(path, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    HANDLE quiet = openSharing(path, FILE_SHARE_READ);
    EXPECT_NE(quiet, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(quiet));
}
