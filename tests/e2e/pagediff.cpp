// pagediff REFERENCE.bmp PAGE.png CELLS.txt [DIFF.png]
//   Compares our layer's page (PAGE.png, from pidpage) with the real GDI's
//   (REFERENCE.bmp, from gdipage) pixel for pixel outside the text cells that
//   CELLS.txt lists; prints every difference and exits 1 when there is any.
//   DIFF.png shows the reference dimmed, the cells grey and the differences red.
// pagediff --window REFERENCE.bmp CAPTURE.png CELLS.txt
//   Finds the page in a capture of the program's window: the client area
//   shows it from its top-left corner, clipped. Exits 0 when some position
//   shows every non-text pixel of the page's content (x 0..781, y 0..476)
//   exactly as the reference does.
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0xRRGGBB, top-down
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

std::uint32_t readLittle(const std::vector<unsigned char>& bytes, std::size_t offset, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[offset + i];
    return value;
}

// An uncompressed 24- or 32-bit BMP, either row order.
bool readBmp(const std::string& path, Image& image)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    std::uint32_t offBits = readLittle(bytes, 10, 4);
    auto width = static_cast<std::int32_t>(readLittle(bytes, 18, 4));
    auto height = static_cast<std::int32_t>(readLittle(bytes, 22, 4));
    std::uint32_t bitCount = readLittle(bytes, 28, 2);
    std::uint32_t compression = readLittle(bytes, 30, 4);
    if (width <= 0 || height == 0 || (bitCount != 24 && bitCount != 32) || compression != 0)
        return false;
    bool topDown = height < 0;
    int rows = topDown ? -height : height;
    std::size_t bytesPerPixel = bitCount / 8;
    std::size_t rowBytes = (static_cast<std::size_t>(width) * bytesPerPixel + 3) & ~std::size_t{3};
    if (offBits + rowBytes * static_cast<std::size_t>(rows) > bytes.size())
        return false;
    image.width = width;
    image.height = rows;
    image.pixels.resize(static_cast<std::size_t>(width) * rows);
    for (int y = 0; y < rows; ++y) {
        std::size_t row = offBits + rowBytes * static_cast<std::size_t>(topDown ? y : rows - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::size_t p = row + bytesPerPixel * static_cast<std::size_t>(x);
            image.pixels[static_cast<std::size_t>(y) * width + x] =
                static_cast<std::uint32_t>(bytes[p + 2]) << 16 | static_cast<std::uint32_t>(bytes[p + 1]) << 8 | bytes[p];
        }
    }
    return true;
}

bool readPng(const std::string& path, Image& image)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return false;
    png.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&png);
        return false;
    }
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<std::uint32_t>(rgb[3 * i]) << 16 | static_cast<std::uint32_t>(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    return true;
}

bool readImage(const std::string& path, Image& image)
{
    bool ok = path.size() > 4 && path.compare(path.size() - 4, 4, ".bmp") == 0 ? readBmp(path, image)
                                                                            : readPng(path, image);
    if (!ok)
        std::fprintf(stderr, "pagediff: %s: cannot read the image\n", path.c_str());
    return ok;
}

bool writePng(const std::string& path, const Image& image)
{
    std::vector<unsigned char> rgb(image.pixels.size() * 3);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        rgb[3 * i] = static_cast<unsigned char>(image.pixels[i] >> 16);
        rgb[3 * i + 1] = static_cast<unsigned char>(image.pixels[i] >> 8);
        rgb[3 * i + 2] = static_cast<unsigned char>(image.pixels[i]);
    }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&png, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

// Which pixels of the page lie in a text cell, from lines "left top right
// bottom" (right and bottom excluded); '#' starts a comment.
bool readCells(const std::string& path, int width, int height, std::vector<bool>& inCell)
{
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "pagediff: %s: cannot read the cells\n", path.c_str());
        return false;
    }
    inCell.assign(static_cast<std::size_t>(width) * height, false);
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        long left, top, right, bottom;
        if (!(fields >> left >> top >> right >> bottom))
            continue;
        for (long y = std::max(top, 0L); y < std::min(bottom, static_cast<long>(height)); ++y)
            for (long x = std::max(left, 0L); x < std::min(right, static_cast<long>(width)); ++x)
                inCell[static_cast<std::size_t>(y) * width + x] = true;
    }
    return true;
}

int comparePages(const Image& reference, const Image& page, const std::vector<bool>& inCell, const char* diffPath)
{
    if (reference.width != page.width || reference.height != page.height) {
        std::printf("size differs: reference %dx%d, page %dx%d\n", reference.width, reference.height, page.width,
                    page.height);
        return 1;
    }
    Image diff = reference;
    long differences = 0;
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            std::size_t i = static_cast<std::size_t>(y) * page.width + x;
            std::uint32_t want = reference.pixels[i];
            diff.pixels[i] = inCell[i] ? 0xC0C0C0 : (want == 0xFFFFFF ? 0xFFFFFF : 0x808080);
            if (inCell[i] || page.pixels[i] == want)
                continue;
            diff.pixels[i] = 0xFF0000;
            if (++differences <= 200)
                std::printf("(%d, %d): gdi %06X, ours %06X\n", x, y, want, page.pixels[i]);
        }
    }
    if (differences > 200)
        std::printf("... %ld differences in all\n", differences);
    if (diffPath != nullptr && !writePng(diffPath, diff))
        std::fprintf(stderr, "pagediff: %s: cannot write\n", diffPath);
    return differences == 0 ? 0 : 1;
}

// The page's content lies within x <= 780, y <= 475; the window's client
// area is smaller than the page, so only that part is looked for.
constexpr int contentRight = 782;
constexpr int contentBottom = 477;

long mismatchesAt(const Image& reference, const Image& capture, const std::vector<bool>& inCell, int dx, int dy,
                  long giveUpAfter)
{
    long mismatches = 0;
    for (int y = 0; y < contentBottom; ++y)
        for (int x = 0; x < contentRight; ++x) {
            std::size_t i = static_cast<std::size_t>(y) * reference.width + x;
            if (!inCell[i] && capture.at(x + dx, y + dy) != reference.pixels[i] && ++mismatches > giveUpAfter)
                return mismatches;
        }
    return mismatches;
}

int findInWindow(const Image& reference, const Image& capture, const std::vector<bool>& inCell)
{
    long best = -1;
    int bestX = 0, bestY = 0;
    for (int dy = 0; dy + contentBottom <= capture.height; ++dy)
        for (int dx = 0; dx + contentRight <= capture.width; ++dx) {
            long mismatches = mismatchesAt(reference, capture, inCell, dx, dy, best < 0 ? 1L << 30 : best);
            if (best < 0 || mismatches < best) {
                best = mismatches;
                bestX = dx;
                bestY = dy;
            }
            if (best == 0) {
                std::printf("page found in the window at (%d, %d)\n", bestX, bestY);
                return 0;
            }
        }
    if (best < 0) {
        std::printf("capture %dx%d is too small to hold the page's content\n", capture.width, capture.height);
        return 1;
    }
    std::printf("page not found; closest at (%d, %d) with %ld differing pixels\n", bestX, bestY, best);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    bool window = argc > 1 && std::strcmp(argv[1], "--window") == 0;
    int first = window ? 2 : 1;
    if (argc - first < 3 || argc - first > (window ? 3 : 4)) {
        std::fprintf(stderr, "usage: pagediff REFERENCE.bmp PAGE.png CELLS.txt [DIFF.png]\n"
                             "       pagediff --window REFERENCE.bmp CAPTURE.png CELLS.txt\n");
        return 2;
    }
    Image reference, other;
    std::vector<bool> inCell;
    if (!readImage(argv[first], reference) || !readImage(argv[first + 1], other)
        || !readCells(argv[first + 2], reference.width, reference.height, inCell))
        return 2;
    if (window)
        return findInWindow(reference, other, inCell);
    return comparePages(reference, other, inCell, argc - first == 4 ? argv[first + 3] : nullptr);
}
