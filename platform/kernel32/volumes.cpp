// Volumes (GetVolumePathNameA, GetDriveTypeA): where the file system holding
// a path is mounted, and whether another machine may write it unseen.
#include "kernel32.h"
#include "volumes.h"

#include <cstdlib>
#include <cstring>
#include <linux/magic.h>
#include <string>
#include <sys/stat.h>
#include <sys/vfs.h>

namespace kernel32 {
namespace {

// File systems whose files other machines write: the system hears nothing
// of those writes. FUSE counts here too (sshfs and its kind), though a FUSE
// file system may as well be a local disk.
bool IsRemote(const struct statfs& volume)
{
    switch (static_cast<unsigned long>(volume.f_type)) {
    case NFS_SUPER_MAGIC:
    case SMB_SUPER_MAGIC:
    case CIFS_SUPER_MAGIC:
    case SMB2_SUPER_MAGIC:
    case FUSE_SUPER_MAGIC:
    case CODA_SUPER_MAGIC:
    case AFS_SUPER_MAGIC:
    case AFS_FS_MAGIC:
    case NCP_SUPER_MAGIC:
    case V9FS_MAGIC:
    case CEPH_SUPER_MAGIC:
    case OCFS2_SUPER_MAGIC:
    case 0x01161970: // GFS2
    case 0x0BD00BD0: // Lustre
        return true;
    default:
        return false;
    }
}

// The mount folder of an existing absolute path: the last folder upwards
// on the same device.
bool MountFolder(std::string path, std::string& mount)
{
    struct stat info {}, parent {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    while (path != "/") {
        std::size_t slash = path.rfind('/');
        std::string up = slash == 0 ? "/" : path.substr(0, slash);
        if (::stat(up.c_str(), &parent) != 0 || parent.st_dev != info.st_dev)
            break;
        path = up;
    }
    mount = path == "/" ? path : path + '/';
    return true;
}

} // namespace

bool FoldersActRemote()
{
    static const bool remote = std::getenv("PIDVIEW_REMOTE_FOLDERS") != nullptr;
    return remote;
}

bool OnNetworkFileSystem(int fd)
{
    struct statfs volume {};
    return FoldersActRemote() || (::fstatfs(fd, &volume) == 0 && IsRemote(volume));
}

} // namespace kernel32

using namespace kernel32;

BOOL WINAPI GetVolumePathNameA(LPCSTR lpszFileName, LPSTR lpszVolumePathName, DWORD cchBufferLength)
{
    char full[MAX_PATH];
    DWORD length = lpszFileName != nullptr ? GetFullPathNameA(lpszFileName, sizeof full, full, nullptr) : 0;
    if (length == 0 || length >= sizeof full || lpszVolumePathName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Links resolved, as the system walks them; a name that does not exist
    // (yet) lies on the volume of the nearest folder above it that does.
    std::string path = full;
    std::string mount;
    while (!path.empty()) {
        char* real = ::realpath(path.c_str(), nullptr);
        bool found = real != nullptr && MountFolder(real, mount);
        std::free(real);
        if (found)
            break;
        std::size_t slash = path.size() > 1 ? path.find_last_of('/', path.size() - 2) : std::string::npos;
        path = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    }
    if (mount.empty() || mount.size() >= cchBufferLength) {
        SetLastError(mount.empty() ? ERROR_PATH_NOT_FOUND : ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    std::memcpy(lpszVolumePathName, mount.c_str(), mount.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

UINT WINAPI GetDriveTypeA(LPCSTR lpRootPathName)
{
    char volume[MAX_PATH];
    if (lpRootPathName == nullptr) { // the current folder's volume
        if (!GetVolumePathNameA(".", volume, sizeof volume))
            return DRIVE_NO_ROOT_DIR;
        lpRootPathName = volume;
    }
    // As on Windows, only a folder where a volume is mounted has a type.
    char* real = ::realpath(lpRootPathName, nullptr);
    std::string mount;
    bool mounted = real != nullptr && MountFolder(real, mount)
                && mount == (std::strcmp(real, "/") == 0 ? std::string("/") : std::string(real) + '/');
    std::free(real);
    struct statfs info {};
    if (!mounted || ::statfs(mount.c_str(), &info) != 0)
        return DRIVE_NO_ROOT_DIR;
    return FoldersActRemote() || IsRemote(info) ? DRIVE_REMOTE : DRIVE_FIXED;
}
