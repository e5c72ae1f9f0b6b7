// The last error of a folder that could not be listed or watched.
#pragma once

#include "kernel32.h"

#include <cerrno>

namespace kernel32 {

// Why a folder could not be listed or watched: notAFolder is the answer for
// a name that is not one (the calls differ there).
inline DWORD FolderErrorFromErrno(int error, DWORD notAFolder)
{
    switch (error) {
    case ENOENT: return ERROR_PATH_NOT_FOUND;
    case ENOTDIR: return notAFolder;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    default: return ERROR_NOT_ENOUGH_MEMORY; // ENOSPC: no inotify watch left
    }
}

} // namespace kernel32
