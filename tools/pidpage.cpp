// pidpage [FILE.PID] OUT.png (or --help, --version): draws the measurement
// page of a run (or of the start values) on an 800 x 540 white page and
// writes it as a PNG.
#include "data/measdata.h"
#include "picture/page.h"
#include "platform/gdi32/surface.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <png.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int pageWidth = 800;
constexpr int pageHeight = 540;

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

constexpr const char* usageLine = "usage: pidpage [FILE.PID] OUT.png | --help | --version\n";

constexpr const char* helpText =
    "usage: pidpage [FILE.PID] OUT.png\n"
    "       pidpage --help | --version\n"
    "\n"
    "Draws the page that pidview shows for a measurement file of the PID motor\n"
    "speed controller (or, without FILE.PID, the page of the start values) on an\n"
    "800 x 540 white page and writes it to OUT.png.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "  --         end of options (for a file name starting with '-')\n"
    "\n"
    "Exit status: 0 the picture is written; 1 the file cannot be read or is not\n"
    "a measurement file, or the picture cannot be written (one line on standard\n"
    "error, no file left behind); 2 a wrong command line.\n";

} // namespace

int main(int argc, char** argv)
{
    std::vector<const char*> operands;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (options && argument == "--") {
            options = false;
        } else if (options && argument == "--help") {
            std::fputs(helpText, stdout);
            return 0;
        } else if (options && argument == "--version") {
            std::printf("pidpage %s\n", PIDVIEW_VERSION);
            return 0;
        } else if (options && argument.size() > 1 && argument[0] == '-') {
            std::fprintf(stderr, "pidpage: unknown option %s; %s", argv[i], usageLine);
            return 2;
        } else {
            operands.push_back(argv[i]);
        }
    }
    if (operands.empty() || operands.size() > 2 || operands.back()[0] == '\0') {
        std::fputs(usageLine, stderr);
        return 2;
    }
    const char* output = operands.back();
    InitMeasData();
    if (operands.size() == 2) {
        switch (LoadMeasData(operands[0])) {
        case LOAD_ACCEPTED: break;
        case LOAD_BADFORMAT:
            std::fprintf(stderr, "pidpage: %s: not a measurement file (wrong format or too short)\n", operands[0]);
            return 1;
        default:
            std::fprintf(stderr, "pidpage: %s: cannot open\n", operands[0]);
            return 1;
        }
    }

    auto page = std::make_shared<gdi32::PixelBuffer>(pageWidth, pageHeight, 0xFFFFFF);
    HDC hdc = gdi32::CreateBufferDC(page);
    if (hdc == nullptr) {
        std::fprintf(stderr, "pidpage: cannot make a drawing surface\n");
        return 1;
    }
    Disp_Page(hdc);
    DeleteDC(hdc);

    if (!savePng(*page, output)) {
        std::fprintf(stderr, "pidpage: %s: cannot write: %s\n", output, std::strerror(errno));
        return 1;
    }
    return 0;
}
