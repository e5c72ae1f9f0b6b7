// Whether another process has a file open for writing: what an open that
// denies writing asks before Windows grants it. Linux tells it through a
// read lease, refused (EAGAIN) while any open file description of the file
// may write. A lease needs the file's owner or CAP_LEASE and a local file
// system: on a network one it sees this machine's openers only, and NFS and
// SMB refuse it (EAGAIN) without a delegation from the server. Where it
// cannot tell, a file that changed within the last half second counts as
// still open for writing.
#include "files.h"

#include "../fixme.h"
#include "volumes.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>

namespace kernel32 {
namespace {

// How long a file must have rested to count as closed where the system
// cannot tell: a writer pausing longer than this within a file is missed.
constexpr long long kSettleNanoseconds = 500'000'000;

bool ChangedJustNow(const struct stat& info)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    long long since = (static_cast<long long>(now.tv_sec) - info.st_ctim.tv_sec) * 1'000'000'000LL
                    + (now.tv_nsec - info.st_ctim.tv_nsec);
    // Both ways: a file server's clock may run ahead of ours.
    return since < kSettleNanoseconds && since > -kSettleNanoseconds;
}

} // namespace

bool MayBeWritten(int fd, const struct stat& info)
{
    const char* why = "a network file system";
    if (!OnNetworkFileSystem(fd)) {
        // A writer that opens the file while the lease is held breaks it, and
        // the holder is signalled: SIGIO would end the program, SIGURG is
        // ignored unless asked for. The lease goes at once; such a writer
        // waits only for that moment.
        if (::fcntl(fd, F_SETSIG, SIGURG) == 0 && ::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
            ::fcntl(fd, F_SETLEASE, F_UNLCK);
            return false;
        }
        if (errno == EAGAIN)
            return true;
        why = std::strerror(errno);
    }
    layer::Fixme("CreateFileA cannot tell whether another process writes the file (no lease: %s); "
                 "one changed within half a second counts as written",
                 why);
    return ChangedJustNow(info);
}

} // namespace kernel32
