// What an open file handle tells of its file: its status and identity
// (GetFileInformationByHandle) and its path with every link resolved
// (GetFinalPathNameByHandleA).
#include "file_status.h"
#include "files.h"

#include "../fixme.h"

#include <cstring>
#include <string>
#include <unistd.h>

using namespace kernel32;

BOOL WINAPI GetFileInformationByHandle(HANDLE hFile, LPBY_HANDLE_FILE_INFORMATION lpFileInformation)
{
    int fd = DescriptorOf(hFile);
    struct stat info {};
    if (fd < 0 || lpFileInformation == nullptr) {
        SetLastError(fd < 0 ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (::fstat(fd, &info) != 0) {
        SetLastError(ERROR_READ_FAULT);
        return FALSE;
    }
    BY_HANDLE_FILE_INFORMATION& data = *lpFileInformation;
    Describe(info, data);
    auto device = static_cast<std::uint64_t>(info.st_dev);
    auto inode = static_cast<std::uint64_t>(info.st_ino);
    data.dwVolumeSerialNumber = static_cast<DWORD>(device ^ (device >> 32));
    data.nNumberOfLinks = static_cast<DWORD>(info.st_nlink);
    data.nFileIndexHigh = static_cast<DWORD>(inode >> 32);
    data.nFileIndexLow = static_cast<DWORD>(inode);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

DWORD WINAPI GetFinalPathNameByHandleA(HANDLE hFile, LPSTR lpszFilePath, DWORD cchFilePath, DWORD dwFlags)
{
    int fd = DescriptorOf(hFile);
    if (fd < 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if ((dwFlags & ~static_cast<DWORD>(FILE_NAME_OPENED)) != VOLUME_NAME_DOS) {
        layer::Fixme("GetFinalPathNameByHandleA gives only drive paths, not flags 0x%x", dwFlags);
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // The system keeps the path its descriptor reached, links resolved.
    char path[4096];
    std::string link = "/proc/self/fd/" + std::to_string(fd);
    ssize_t length = ::readlink(link.c_str(), path, sizeof path);
    if (length <= 0 || length >= static_cast<ssize_t>(sizeof path) || path[0] != '/') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    auto needed = static_cast<DWORD>(length);
    if (lpszFilePath == nullptr || cchFilePath <= needed)
        return needed + 1;
    std::memcpy(lpszFilePath, path, needed);
    lpszFilePath[needed] = '\0';
    SetLastError(ERROR_SUCCESS);
    return needed;
}
