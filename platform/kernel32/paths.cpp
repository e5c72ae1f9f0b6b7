// GetFullPathNameA: a name made absolute from the current folder.
#include "kernel32.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>

DWORD WINAPI GetFullPathNameA(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart)
{
    if (lpFileName == nullptr || lpFileName[0] == '\0') {
        SetLastError(ERROR_INVALID_NAME);
        return 0;
    }
    std::string full;
    if (lpFileName[0] != '/') {
        char folder[MAX_PATH];
        if (::getcwd(folder, sizeof folder) == nullptr) {
            SetLastError(errno == ERANGE ? ERROR_FILENAME_EXCED_RANGE : ERROR_PATH_NOT_FOUND);
            return 0;
        }
        full = folder;
    }
    // "." parts and doubled separators go; ".." stays, as the system walks
    // it: after a symbolic link it leads to the link's target's parent.
    std::string_view rest(lpFileName);
    while (!rest.empty()) {
        std::size_t end = rest.find('/');
        std::string_view part = rest.substr(0, end);
        if (!part.empty() && part != ".")
            (full += '/') += part;
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    bool endsInSeparator = lpFileName[std::strlen(lpFileName) - 1] == '/'
                        || std::string_view(lpFileName).ends_with("/.") || std::string_view(lpFileName) == ".";
    if (full.empty() || endsInSeparator)
        full += '/';

    if (full.size() >= nBufferLength || lpBuffer == nullptr)
        return static_cast<DWORD>(full.size() + 1);
    std::memcpy(lpBuffer, full.c_str(), full.size() + 1);
    if (lpFilePart != nullptr)
        *lpFilePart = full.back() == '/' ? nullptr : lpBuffer + full.rfind('/') + 1;
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(full.size());
}
