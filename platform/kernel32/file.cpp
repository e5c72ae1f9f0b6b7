// KERNEL32 file handles over POSIX descriptors, with Windows' share modes:
// among the layer's own handles as Windows keeps them, and toward other
// processes' writers as far as the system tells them (sharing.cpp).
#include "files.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace kernel32 {
namespace {

struct OpenFile {
    int fd;
    dev_t device;
    ino_t inode;
    DWORD shareMode;
};

// Live handles and their files, so that a stale or foreign handle is
// refused instead of used. Handle values are never reused (a freed address
// would be): they count up in steps of 4 like the kernel's, below the range
// of GDI handles.
std::mutex registryMutex;
std::unordered_map<std::uintptr_t, OpenFile> liveFiles;
std::uintptr_t lastHandle = 0;

// Every handle of the layer reads: a new one and those already open on the
// file must each let the others read. (Under registryMutex.)
bool SharesWithOurHandles(const struct stat& info, DWORD shareMode)
{
    for (const auto& [handle, file] : liveFiles)
        if (file.device == info.st_dev && file.inode == info.st_ino
            && ((file.shareMode & FILE_SHARE_READ) == 0 || (shareMode & FILE_SHARE_READ) == 0))
            return false;
    return true;
}

DWORD errorFromErrno(int error)
{
    switch (error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_READ_FAULT;
    }
}

HANDLE failWith(DWORD error)
{
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

} // namespace

int DescriptorOf(HANDLE handle)
{
    std::lock_guard lock(registryMutex);
    auto found = liveFiles.find(reinterpret_cast<std::uintptr_t>(handle));
    return found != liveFiles.end() ? found->second.fd : -1;
}

} // namespace kernel32

using namespace kernel32;

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, DWORD dwCreationDisposition,
                          DWORD /*dwFlagsAndAttributes*/, HANDLE /*hTemplateFile*/)
{
    if (lpFileName == nullptr || lpFileName[0] == '\0')
        return failWith(ERROR_PATH_NOT_FOUND);
    // Only what the viewer needs: reading a file that exists.
    if (dwDesiredAccess != GENERIC_READ || dwCreationDisposition != OPEN_EXISTING)
        return failWith(ERROR_CALL_NOT_IMPLEMENTED);

    // Only regular files, and the name is looked at before it is opened:
    // opening a device can act (a tape rewinds, a watchdog starts) and
    // opening a FIFO wakes its writer.
    struct stat info {};
    if (::stat(lpFileName, &info) != 0)
        return failWith(errorFromErrno(errno));
    if (!S_ISREG(info.st_mode))
        return failWith(S_ISDIR(info.st_mode) ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND);
    // The name may have been replaced since: the descriptor is checked
    // again. Non-blocking, so that a FIFO put in the file's place cannot hang
    // the open, and a file of /proc that waits for data (kmsg) fails its
    // read instead of waiting; a regular file on disk reads the same.
    int fd = ::open(lpFileName, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return failWith(errorFromErrno(errno));
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return failWith(S_ISDIR(info.st_mode) ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND);
    }
    if ((dwShareMode & FILE_SHARE_WRITE) == 0 && MayBeWritten(fd, info)) {
        ::close(fd);
        return failWith(ERROR_SHARING_VIOLATION);
    }

    std::lock_guard lock(registryMutex);
    if (!SharesWithOurHandles(info, dwShareMode)) {
        ::close(fd);
        return failWith(ERROR_SHARING_VIOLATION);
    }
    lastHandle += 4;
    liveFiles.emplace(lastHandle, OpenFile{fd, info.st_dev, info.st_ino, dwShareMode});
    SetLastError(ERROR_SUCCESS);
    return reinterpret_cast<HANDLE>(lastHandle);
}

DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                            DWORD dwMoveMethod)
{
    int fd = DescriptorOf(hFile);
    if (fd < 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_SET_FILE_POINTER;
    }
    int whence = dwMoveMethod == FILE_BEGIN ? SEEK_SET : dwMoveMethod == FILE_CURRENT ? SEEK_CUR
               : dwMoveMethod == FILE_END   ? SEEK_END : -1;
    if (whence < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    // Without a high part the distance is a signed 32-bit value; with one, the
    // two halves form a signed 64-bit distance.
    std::int64_t distance = lDistanceToMove;
    if (lpDistanceToMoveHigh != nullptr)
        distance = static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<DWORD>(*lpDistanceToMoveHigh)) << 32)
                                             | static_cast<DWORD>(lDistanceToMove));
    off_t position = ::lseek(fd, static_cast<off_t>(distance), whence);
    if (position < 0) {
        SetLastError(errno == EINVAL ? ERROR_NEGATIVE_SEEK : errorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh != nullptr)
        *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<std::uint64_t>(position) >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(static_cast<std::uint64_t>(position));
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                     LPDWORD lpNumberOfBytesRead, LPOVERLAPPED /*lpOverlapped*/)
{
    if (lpNumberOfBytesRead != nullptr)
        *lpNumberOfBytesRead = 0;
    int fd = DescriptorOf(hFile);
    if (fd < 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (lpBuffer == nullptr && nNumberOfBytesToRead > 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A file read is complete unless the end of the file comes first.
    auto* out = static_cast<char*>(lpBuffer);
    DWORD total = 0;
    while (total < nNumberOfBytesToRead) {
        std::size_t want = nNumberOfBytesToRead - total;
        if (want > SSIZE_MAX)
            want = SSIZE_MAX;
        ssize_t got = ::read(fd, out + total, want);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            SetLastError(errorFromErrno(errno));
            if (lpNumberOfBytesRead != nullptr)
                *lpNumberOfBytesRead = total;
            return FALSE;
        }
        if (got == 0)
            break;
        total += static_cast<DWORD>(got);
    }
    if (lpNumberOfBytesRead != nullptr)
        *lpNumberOfBytesRead = total;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE hObject)
{
    int fd = -1;
    {
        std::lock_guard lock(registryMutex);
        auto found = liveFiles.find(reinterpret_cast<std::uintptr_t>(hObject));
        if (found != liveFiles.end()) {
            fd = found->second.fd;
            liveFiles.erase(found);
        }
    }
    if (fd < 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    ::close(fd);
    return TRUE;
}
