// The reasons pidpage gives for a run it cannot use.
#include "run_file.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace pidpage {
namespace {

// Why the loader could not open or read path, in the system's words: what
// the name leads to, else the loader's last error.
std::string CannotOpenReason(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::strerror(errno);
    if (S_ISDIR(info.st_mode))
        return std::strerror(EISDIR);
    if (!S_ISREG(info.st_mode))
        return "not a regular file";
    switch (GetLastError()) {
    case ERROR_ACCESS_DENIED: return std::strerror(EACCES);
    case ERROR_NOT_ENOUGH_MEMORY: return std::strerror(ENOMEM);
    default: return std::strerror(EIO);
    }
}

} // namespace

std::string RefusalReason(const std::string& path, int outcome)
{
    if (outcome == LOAD_BADFORMAT)
        return path + ": not a measurement file (wrong format or too short)";
    return path + ": cannot open: " + CannotOpenReason(path);
}

} // namespace pidpage
