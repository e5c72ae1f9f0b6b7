// Folders keep their Win32 contracts over POSIX and inotify: a listing's
// pattern matches names in either case and reports sizes and times, a
// change notification is signalled only by what its filter names and again
// once rearmed, a removed folder ends it, and it leaves no descriptor open;
// an open file tells its real path and identity; volumes tell their kind.
#include "platform/win32.h"
#include "pidfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <thread>

using pidtest::ScratchDir;

namespace {

std::set<std::string> Listing(const std::string& pattern)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert(fd.cFileName);
    while (FindNextFileA(h, &fd));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(h));
    return names;
}

std::size_t OpenDescriptors()
{
    auto entries = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

} // namespace

TEST(Folders, ListingsMatchNamesInEitherCase)
{
    ScratchDir dir;
    std::string run = dir.write("A.PID", std::vector<std::uint8_t>(416));
    dir.write("b.pid", {1});
    dir.write("c.PIDX", {});
    dir.write("notes.txt", {});
    std::filesystem::create_directory(dir.path("D.PID"));
    EXPECT_EQ(Listing(dir.path("*.PID")), (std::set<std::string>{"A.PID", "b.pid", "D.PID"}));
    EXPECT_EQ(Listing(dir.path("?.p*")), (std::set<std::string>{"A.PID", "b.pid", "c.PIDX", "D.PID"}));

    WIN32_FIND_DATAA fd;
    WIN32_FILE_ATTRIBUTE_DATA fad;
    HANDLE h = FindFirstFileA(dir.path("a.pid").c_str(), &fd);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FindClose(h);
    ASSERT_TRUE(GetFileAttributesExA(run.c_str(), GetFileExInfoStandard, &fad));
    struct stat info {};
    ASSERT_EQ(stat(run.c_str(), &info), 0);
    ULONGLONG ticks = (ULONGLONG)fd.ftLastWriteTime.dwHighDateTime << 32 | fd.ftLastWriteTime.dwLowDateTime;
    EXPECT_EQ(ticks / 10000000 - 11644473600u, static_cast<ULONGLONG>(info.st_mtime)); // from 1601, in 100 ns
    EXPECT_EQ(CompareFileTime(&fd.ftLastWriteTime, &fad.ftLastWriteTime), 0);
    EXPECT_EQ(fd.nFileSizeLow, 416u);
    EXPECT_EQ(fad.nFileSizeLow, 416u);
    EXPECT_EQ(fd.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));

    EXPECT_EQ(FindFirstFileA(dir.path("*.BMP").c_str(), &fd), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(FindFirstFileA(dir.path("gone/*").c_str(), &fd), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(Folders, ChangeNotificationsUntilTheFolderGoes)
{
    ScratchDir dir;
    dir.write("RUN.PID", {1, 2, 3});
    std::size_t descriptors = OpenDescriptors();
    HANDLE h = FindFirstChangeNotificationA(dir.path("").c_str(), FALSE,
                                            FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(WaitForSingleObject(h, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    dir.write("RUN.PID", {4, 5, 6});
    EXPECT_EQ(WaitForSingleObject(h, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(h, 0), static_cast<DWORD>(WAIT_OBJECT_0)); // until rearmed
    EXPECT_TRUE(FindNextChangeNotification(h));
    EXPECT_EQ(WaitForSingleObject(h, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    dir.write("NEXT.PID", {});
    EXPECT_EQ(WaitForSingleObject(h, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(FindNextChangeNotification(h));
    std::filesystem::create_directory(dir.path("sub")); // a folder's name is not in the filter
    EXPECT_EQ(WaitForSingleObject(h, 100), static_cast<DWORD>(WAIT_TIMEOUT));

    std::filesystem::remove_all(dir.path(""));
    EXPECT_EQ(WaitForSingleObject(h, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_FALSE(FindNextChangeNotification(h));
    EXPECT_TRUE(FindCloseChangeNotification(h));
    EXPECT_EQ(OpenDescriptors(), descriptors);
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
    EXPECT_EQ(FindFirstChangeNotificationA(dir.path("").c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME),
              INVALID_HANDLE_VALUE);
}

TEST(Folders, FullPathsFromTheCurrentFolder)
{
    char full[MAX_PATH];
    LPSTR name = nullptr;
    std::string here = std::filesystem::current_path().string();
    std::string want = here + "/runs/../b/RUN.PID";
    EXPECT_EQ(GetFullPathNameA("runs/.././b//RUN.PID", sizeof full, full, &name), want.size());
    EXPECT_EQ(full, want);
    EXPECT_STREQ(name, "RUN.PID");
    EXPECT_EQ(GetFullPathNameA("/runs/", sizeof full, full, &name), 6u);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(GetFullPathNameA("RUN.PID", 4, full, &name), here.size() + 9); // the size it needs
}

// An open file knows where it really is and which file it is: a link's
// target, the same index through either name, another after a rename over
// it, and a creation time that moves with a change of permissions.
TEST(Folders, AnOpenFileKnowsItsPathAndIdentity)
{
    ScratchDir dir;
    std::filesystem::create_directory(dir.path("real"));
    std::string run = dir.write("real/RUN.PID", {1, 2, 3});
    std::filesystem::create_symlink(run, dir.path("LINK.PID"));
    auto information = [](const std::string& path) {
        BY_HANDLE_FILE_INFORMATION info{};
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_TRUE(GetFileInformationByHandle(h, &info));
        CloseHandle(h);
        return info;
    };
    HANDLE h = CreateFileA(dir.path("LINK.PID").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    char final[MAX_PATH];
    EXPECT_EQ(GetFinalPathNameByHandleA(h, final, 4, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS), run.size() + 1);
    EXPECT_EQ(GetFinalPathNameByHandleA(h, final, sizeof final, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS), run.size());
    EXPECT_EQ(final, run);
    CloseHandle(h);

    BY_HANDLE_FILE_INFORMATION first = information(run);
    struct stat status {};
    ASSERT_EQ(stat(run.c_str(), &status), 0);
    EXPECT_EQ((ULONGLONG)first.nFileIndexHigh << 32 | first.nFileIndexLow, static_cast<ULONGLONG>(status.st_ino));
    EXPECT_EQ(information(dir.path("LINK.PID")).nFileIndexLow, first.nFileIndexLow);
    std::this_thread::sleep_for(std::chrono::milliseconds(10)); // past a coarse clock's tick
    std::filesystem::permissions(run, std::filesystem::perms::owner_read);
    BY_HANDLE_FILE_INFORMATION chmodded = information(run);
    EXPECT_EQ(CompareFileTime(&chmodded.ftLastWriteTime, &first.ftLastWriteTime), 0);
    EXPECT_GT(CompareFileTime(&chmodded.ftCreationTime, &first.ftCreationTime), 0);
    dir.write("real/NEXT", {1, 2, 3});
    std::filesystem::rename(dir.path("real/NEXT"), run);
    EXPECT_NE(information(run).nFileIndexLow, first.nFileIndexLow);
}

// A volume is found from any path on it, even one not made yet; only the
// folder where it is mounted has a type.
TEST(Folders, VolumesAndTheirKinds)
{
    char volume[MAX_PATH];
    ASSERT_TRUE(GetVolumePathNameA("/proc/self/no/such/name", volume, sizeof volume));
    EXPECT_STREQ(volume, "/proc/");
    EXPECT_EQ(GetDriveTypeA("/proc/"), static_cast<UINT>(DRIVE_FIXED));
    EXPECT_EQ(GetDriveTypeA("/proc/self/"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    ASSERT_TRUE(GetVolumePathNameA("/", volume, sizeof volume));
    EXPECT_STREQ(volume, "/");
    ASSERT_TRUE(GetVolumePathNameA(".", volume, sizeof volume));
    EXPECT_EQ(GetDriveTypeA(nullptr), GetDriveTypeA(volume));
}
