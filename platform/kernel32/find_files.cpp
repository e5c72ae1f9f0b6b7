// Folder listings (FindFirstFileA, FindNextFileA, FindClose) over opendir
// and stat, and a file's attributes, times and size (GetFileAttributesExA).
#include "kernel32.h"

#include "file_status.h"
#include "folder_error.h"
#include "handle_table.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace kernel32 {
namespace {

constexpr std::uintptr_t kFindHandleTag = static_cast<std::uintptr_t>(0x8600'0000'0000'0000u);

char Folded(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// * matches any run of bytes, ? any one; letters match in either case, and
// "*.*" matches every name, as on Windows.
bool Matches(std::string_view pattern, std::string_view name)
{
    if (pattern == "*.*")
        return true;
    std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || Folded(pattern[p]) == Folded(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

struct Search {
    std::unique_ptr<DIR, int (*)(DIR*)> folder{nullptr, closedir};
    std::string pattern;

    // The next entry that matches and can still be looked at (an entry
    // removed since the folder was read is passed over).
    bool next(WIN32_FIND_DATAA& data)
    {
        while (dirent* entry = readdir(folder.get())) {
            std::size_t length = std::strlen(entry->d_name);
            struct stat info {};
            if (length >= sizeof(data.cFileName) || !Matches(pattern, entry->d_name)
                || fstatat(dirfd(folder.get()), entry->d_name, &info, 0) != 0)
                continue;
            data = WIN32_FIND_DATAA{};
            Describe(info, data);
            std::memcpy(data.cFileName, entry->d_name, length + 1);
            return true;
        }
        return false;
    }
};

HandleTable<Search> searches(kFindHandleTag);

} // namespace
} // namespace kernel32

using namespace kernel32;

HANDLE WINAPI FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData)
{
    if (lpFileName == nullptr || lpFileName[0] == '\0' || lpFindFileData == nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::string_view path(lpFileName);
    std::size_t slash = path.rfind('/');
    std::string folder = slash == std::string_view::npos ? "." : slash == 0 ? "/" : std::string(path.substr(0, slash));
    auto search = std::make_shared<Search>();
    search->pattern = path.substr(slash + 1); // npos + 1 is 0
    search->folder.reset(opendir(folder.c_str()));
    if (search->folder == nullptr) {
        SetLastError(FolderErrorFromErrno(errno, ERROR_PATH_NOT_FOUND));
        return INVALID_HANDLE_VALUE;
    }
    if (search->pattern.empty() || !search->next(*lpFindFileData)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = searches.Add(std::move(search));
    SetLastError(ERROR_SUCCESS);
    return handle;
}

BOOL WINAPI FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData)
{
    std::shared_ptr<Search> search = searches.Find(hFindFile);
    if (search == nullptr || lpFindFileData == nullptr) {
        SetLastError(search == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!search->next(*lpFindFileData)) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE hFindFile)
{
    if (!searches.Remove(hFindFile)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI GetFileAttributesExA(LPCSTR lpFileName, GET_FILEEX_INFO_LEVELS fInfoLevelId, LPVOID lpFileInformation)
{
    if (lpFileName == nullptr || lpFileInformation == nullptr || fInfoLevelId != GetFileExInfoStandard) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    struct stat info {};
    if (::stat(lpFileName, &info) != 0) {
        SetLastError(errno == ENOENT ? ERROR_FILE_NOT_FOUND : FolderErrorFromErrno(errno, ERROR_PATH_NOT_FOUND));
        return FALSE;
    }
    auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(lpFileInformation);
    Describe(info, *data);
    return TRUE;
}
