// Output names and PNG files: a regular file is written under a short
// temporary name beside it and renamed over it, so a failure leaves no
// partial picture and an existing one is replaced only by a complete one;
// anything else (a pipe, a terminal, a device) is written straight.
#include "png_file.h"

#include "failure.h"
#include "png_encoding.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pidpage {
namespace {

constexpr int kMaxLinkHops = 40; // the kernel's own limit

[[noreturn]] void CannotWrite(const std::string& path, int error)
{
    Fail(kStatusFailed, (path == "-" ? std::string("standard output") : path) + ": cannot write: "
                            + std::strerror(error));
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The name that path's chain of symbolic links ends at (path itself when it
// is no link), so that the file is replaced and the link kept.
std::string LinkTarget(const std::string& path)
{
    std::string target = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        char link[PATH_MAX];
        ssize_t length = ::readlink(target.c_str(), link, sizeof link);
        if (length < 0)
            return target;
        if (static_cast<std::size_t>(length) == sizeof link)
            CannotWrite(path, ENAMETOOLONG);
        std::string next(link, static_cast<std::size_t>(length));
        target = next.front() == '/' ? next : target.substr(0, target.rfind('/') + 1) + next;
    }
    CannotWrite(path, ELOOP);
}

// Writes the picture to fd and closes it: 0, or why it failed.
int WriteAndClose(const gdi32::PixelBuffer& picture, int fd)
{
    int error = WritePng(picture, fd);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

void WriteStraight(const gdi32::PixelBuffer& picture, const std::string& path)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        CannotWrite(path, errno);
    if (int error = WriteAndClose(picture, fd))
        CannotWrite(path, error);
}

// The permissions of the file replaced, or for a new file those any new
// file of the user's gets (mkostemp makes it private): 0, or why not.
int SetMode(int fd, const struct stat* existing)
{
    if (existing == nullptr) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return ::fchmod(fd, 0666 & ~mask) == 0 ? 0 : errno;
    }
    // Root gives the file back to its owner; anyone else owns it already.
    if (::fchmod(fd, existing->st_mode & 0777) != 0
        || (::geteuid() == 0 && ::fchown(fd, existing->st_uid, existing->st_gid) != 0))
        return errno;
    return 0;
}

// Writes beside target and renames over it; existing describes the file
// there, if any.
void Replace(const gdi32::PixelBuffer& picture, const std::string& path, const std::string& target,
             const struct stat* existing)
{
    // A file its owner made read-only is not swapped for a new one behind
    // their back, as a rename would allow.
    if (existing != nullptr && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        CannotWrite(path, errno);
    std::string temporary = target.substr(0, target.rfind('/') + 1) + ".pidpage-XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0 && existing != nullptr && errno == EACCES)
        return WriteStraight(picture, path); // a file we may write in a folder we may not add to
    if (fd < 0)
        CannotWrite(path, errno);
    int error = SetMode(fd, existing);
    if (error != 0)
        ::close(fd);
    else
        error = WriteAndClose(picture, fd);
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        CannotWrite(path, error);
    }
}

// Whether the regular file at path may be replaced: only an earlier picture
// (PNG's signature) is, whatever the file is called, or an empty file, which
// holds nothing to lose. 0 when it may, -1 when it holds something else, or
// why it could not be read to tell.
int CheckReplaceable(const std::string& path, const struct stat& info)
{
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (info.st_size == 0)
        return 0;
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    unsigned char head[sizeof kSignature];
    ssize_t got = ::read(fd, head, sizeof head);
    int error = got < 0 ? errno : 0;
    ::close(fd);
    if (error != 0)
        return error;
    return got == static_cast<ssize_t>(sizeof head) && std::memcmp(head, kSignature, sizeof head) == 0 ? 0 : -1;
}

} // namespace

void CheckOutputName(const std::string& output, const std::vector<std::string>& inputs)
{
    if (output != "-") {
        const std::string name = output.substr(output.rfind('/') + 1);
        const std::size_t dot = name.rfind('.');
        std::string extension = dot == std::string::npos || dot == 0 ? "" : name.substr(dot);
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (extension == ".pid")
            Fail(kStatusUsage, output + ": is named like a measurement file; give the picture a .png name");
        if (!extension.empty() && extension != ".png")
            Fail(kStatusUsage, output + ": the picture is a PNG; give it a .png name (or none)");
    }
    if (output == "-" && ::isatty(STDOUT_FILENO))
        Fail(kStatusUsage, "standard output is a terminal; send the picture to a file or a pipe");
    struct stat out {};
    if ((output == "-" ? ::fstat(STDOUT_FILENO, &out) : ::stat(output.c_str(), &out)) != 0)
        return;
    for (const std::string& input : inputs) {
        struct stat in {};
        if (::stat(input.c_str(), &in) == 0 && SameFile(in, out))
            Fail(kStatusUsage, output + ": is the file " + input + " itself; give the picture a name of its own");
    }
    // A run without a .PID name (or a link to one) is still a run.
    if (output == "-" || !S_ISREG(out.st_mode))
        return;
    const int check = CheckReplaceable(output, out);
    if (check > 0)
        Fail(kStatusFailed, output + ": exists and cannot be read to see that it is a picture: " + std::strerror(check));
    if (check < 0)
        Fail(kStatusUsage, output + ": exists and is not a PNG picture; give the picture a name of its own");
}

void SavePng(const gdi32::PixelBuffer& picture, const std::string& path)
{
    if (path == "-") {
        if (int error = WritePng(picture, STDOUT_FILENO))
            CannotWrite(path, error);
        return;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return Replace(picture, path, LinkTarget(path), nullptr);
    if (!S_ISREG(info.st_mode))
        return WriteStraight(picture, path);
    // A name that only the kernel can follow (/dev/stdout to a file already
    // deleted) is written straight as well.
    const std::string target = LinkTarget(path);
    struct stat found {};
    if (::stat(target.c_str(), &found) != 0 || !SameFile(found, info))
        return WriteStraight(picture, path);
    Replace(picture, path, target, &info);
}

} // namespace pidpage
