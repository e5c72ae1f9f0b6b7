// Writing a page as a PNG file, all or nothing.
#include "png_file.h"

#include "failure.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pidpage {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Writes the buffer as an 8-bit RGB PNG; false with errno-style reason on failure.
bool writePng(const gdi32::PixelBuffer& page, std::FILE* out)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    std::vector<png_byte> row(static_cast<std::size_t>(page.width) * 3);
    png_init_io(png, out);
    png_set_IHDR(png, info, static_cast<png_uint_32>(page.width), static_cast<png_uint_32>(page.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            std::uint32_t pixel = page.at(x, y);
            row[3 * x] = static_cast<png_byte>(pixel >> 16);
            row[3 * x + 1] = static_cast<png_byte>(pixel >> 8);
            row[3 * x + 2] = static_cast<png_byte>(pixel);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Writes next to the target and renames, so that a failure leaves no partial PNG.
bool savePng(const gdi32::PixelBuffer& page, const std::string& path)
{
    std::string temporary = path + ".partial-XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0)
        return false;
    // mkstemp makes the file private; the picture gets the mode any new file
    // of the user's would have.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    std::unique_ptr<std::FILE, FileCloser> out(fdopen(fd, "wb"));
    if (!out) {
        ::close(fd);
        std::remove(temporary.c_str());
        return false;
    }
    bool written = writePng(page, out.get()) && std::fflush(out.get()) == 0;
    written = std::fclose(out.release()) == 0 && written;
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    int error = errno;
    std::remove(temporary.c_str());
    errno = error;
    return false;
}

} // namespace

void SavePng(const gdi32::PixelBuffer& picture, const std::string& path)
{
    if (!savePng(picture, path))
        Fail(kStatusFailed, path + ": cannot write: " + std::strerror(errno));
}

} // namespace pidpage
