// The file calls keep their Win32 contracts over POSIX.
#include "platform/win32.h"
#include "pidfile.h"

#include <gtest/gtest.h>

using pidtest::ScratchDir;

namespace {
HANDLE openForReading(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
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
