// Encoding a picture as PNG. A page is mostly white with a few colours of
// lines and text: as palette indices packed to the fewest bits and left
// unfiltered, it is a small stream that zlib compresses quickly. libpng
// reports an error by longjmp, so the function that sets the jump holds
// nothing that needs destroying; the rows are made before it is called.
#include "png_encoding.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <png.h>
#include <unistd.h>
#include <vector>

namespace pidpage {
namespace {

// The palette does most of the work: at this level a page takes a third of
// the compression time of the default level for a file a sixth larger.
constexpr int kCompressionLevel = 3;

// The picture as libpng takes it.
struct Rows {
    int bitDepth = 8;
    int colourType = PNG_COLOR_TYPE_RGB;
    png_color palette[256] = {};
    int colours = 0;
    std::size_t stride = 0;
    std::vector<png_byte> bytes; // the rows, stride bytes each
    std::vector<png_bytep> starts;
};

// Where libpng's bytes go, and why they could not.
struct Sink {
    int fd;
    int error;
};

void WriteBytes(png_structp png, png_bytep data, png_size_t length)
{
    Sink* sink = static_cast<Sink*>(png_get_io_ptr(png));
    while (length > 0) {
        ssize_t written = ::write(sink->fd, data, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            sink->error = written < 0 ? errno : EIO;
            png_error(png, "write");
        }
        data += written;
        length -= static_cast<png_size_t>(written);
    }
}

void FlushNothing(png_structp) {}

// The failure is reported by the caller, as one line; libpng's own text
// would be a second.
[[noreturn]] void JumpOut(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// libpng's part. Between setjmp and the jump there are only plain values.
void Encode(const Rows* rows, int width, int height, Sink* sink)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOut, IgnoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        if (sink->error == 0)
            sink->error = ENOMEM; // all libpng can run out of on its own
        png_destroy_write_struct(&png, &info);
        return;
    }
    png_set_write_fn(png, sink, WriteBytes, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), rows->bitDepth,
                 rows->colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (rows->colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, rows->palette, rows->colours);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    }
    png_set_compression_level(png, kCompressionLevel);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows->starts.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}

// The picture's colours in the order met, or false when there are more than
// 256. Runs of one colour are the rule, so a colour is looked up only where
// a run ends.
bool CollectColours(const gdi32::PixelBuffer& picture, std::uint32_t (&colours)[256], int& count)
{
    count = 0;
    const std::uint32_t* pixel = picture.pixels.data();
    const std::uint32_t* const end = pixel + picture.pixels.size();
    while (pixel != end) {
        const std::uint32_t colour = *pixel;
        if (std::find(colours, colours + count, colour) == colours + count) {
            if (count == 256)
                return false;
            colours[count++] = colour;
        }
        while (pixel != end && *pixel == colour)
            ++pixel;
    }
    return true;
}

// Each row as palette indices packed to bitDepth, the first pixel of a
// byte in its highest bits.
void PackIndices(const gdi32::PixelBuffer& picture, const std::uint32_t (&colours)[256], Rows& rows)
{
    const unsigned depth = static_cast<unsigned>(rows.bitDepth);
    const int perByte = static_cast<int>(8 / depth);
    rows.stride = static_cast<std::size_t>((picture.width + perByte - 1) / perByte);
    rows.bytes.assign(rows.stride * static_cast<std::size_t>(picture.height), 0);
    std::uint32_t colour = colours[0];
    unsigned index = 0;
    for (int y = 0; y < picture.height; ++y) {
        const std::uint32_t* pixel = picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
        png_byte* out = rows.bytes.data() + static_cast<std::size_t>(y) * rows.stride;
        unsigned byte = 0;
        int filled = 0;
        for (int x = 0; x < picture.width; ++x, ++pixel) {
            if (*pixel != colour) {
                colour = *pixel;
                index = static_cast<unsigned>(std::find(colours, colours + rows.colours, colour) - colours);
            }
            byte = byte << depth | index;
            if (++filled == perByte) {
                *out++ = static_cast<png_byte>(byte);
                byte = 0;
                filled = 0;
            }
        }
        if (filled != 0)
            *out = static_cast<png_byte>(byte << depth * static_cast<unsigned>(perByte - filled));
    }
}

// The picture's rows: packed palette indices, or RGB bytes.
void MakeRows(const gdi32::PixelBuffer& picture, Rows& rows)
{
    std::uint32_t colours[256];
    if (CollectColours(picture, colours, rows.colours)) {
        rows.colourType = PNG_COLOR_TYPE_PALETTE;
        rows.bitDepth = rows.colours <= 2 ? 1 : rows.colours <= 4 ? 2 : rows.colours <= 16 ? 4 : 8;
        for (int i = 0; i < rows.colours; ++i)
            rows.palette[i] = png_color{static_cast<png_byte>(colours[i] >> 16),
                                        static_cast<png_byte>(colours[i] >> 8), static_cast<png_byte>(colours[i])};
        PackIndices(picture, colours, rows);
    } else {
        rows.stride = static_cast<std::size_t>(picture.width) * 3;
        rows.bytes.resize(rows.stride * static_cast<std::size_t>(picture.height));
        for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
            rows.bytes[3 * i] = static_cast<png_byte>(picture.pixels[i] >> 16);
            rows.bytes[3 * i + 1] = static_cast<png_byte>(picture.pixels[i] >> 8);
            rows.bytes[3 * i + 2] = static_cast<png_byte>(picture.pixels[i]);
        }
    }
    for (int y = 0; y < picture.height; ++y)
        rows.starts.push_back(rows.bytes.data() + static_cast<std::size_t>(y) * rows.stride);
}

} // namespace

int WritePng(const gdi32::PixelBuffer& picture, int fd)
{
    Rows rows;
    MakeRows(picture, rows);
    Sink sink{fd, 0};
    Encode(&rows, picture.width, picture.height, &sink);
    return sink.error;
}

} // namespace pidpage
