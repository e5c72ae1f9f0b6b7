// Encoding a picture as PNG. A page is mostly white with a few colours of
// lines and text: as palette indices packed to the fewest bits and left
// unfiltered, it is a small stream that zlib compresses quickly. libpng
// reports an error by longjmp, so the function that sets the jump holds
// nothing that needs destroying; the rows are made before it is called.
#include "png_encoding.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
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

// Where libpng's bytes go, and why they could not. libpng hands over each
// chunk in pieces of a few bytes: they are gathered so that a page, a few
// kilobytes, is one write.
struct Sink {
    int fd;
    int error;
    std::size_t used;
    png_byte gathered[64 * 1024];
};

// Writes what is gathered: 0, or why not.
int WriteGathered(Sink* sink)
{
    const png_byte* data = sink->gathered;
    while (sink->used > 0) {
        ssize_t written = ::write(sink->fd, data, sink->used);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        data += written;
        sink->used -= static_cast<std::size_t>(written);
    }
    return 0;
}

void WriteBytes(png_structp png, png_bytep data, png_size_t length)
{
    Sink* sink = static_cast<Sink*>(png_get_io_ptr(png));
    while (length > 0) {
        if (sink->used == sizeof sink->gathered && (sink->error = WriteGathered(sink)) != 0)
            png_error(png, "write");
        const std::size_t part = std::min(length, sizeof sink->gathered - sink->used);
        std::memcpy(sink->gathered + sink->used, data, part);
        sink->used += part;
        data += part;
        length -= part;
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
        // The indices come from the palette itself: libpng's check of every
        // pixel against it would cost more than the compression.
        png_set_check_for_invalid_index(png, 0);
    }
    png_set_compression_level(png, kCompressionLevel);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows->starts.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}

// Whether row y holds the same pixels as the row above: a page repeats most
// of its rows (white margins, the stretches between grid lines), and a
// repeated row needs neither its colours looked up nor its indices packed.
bool RepeatsRowAbove(const gdi32::PixelBuffer& picture, int y)
{
    const std::uint32_t* row = picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
    return y > 0 && std::memcmp(row, row - picture.width, sizeof(*row) * static_cast<std::size_t>(picture.width)) == 0;
}

// The end of the run of colour that starts at pixel, two pixels a step.
const std::uint32_t* RunEnd(const std::uint32_t* pixel, const std::uint32_t* end, std::uint32_t colour)
{
    const std::uint64_t two = static_cast<std::uint64_t>(colour) << 32 | colour;
    std::uint64_t next;
    while (end - pixel >= 2 && (std::memcpy(&next, pixel, sizeof next), next == two))
        pixel += 2;
    while (pixel != end && *pixel == colour)
        ++pixel;
    return pixel;
}

// Each pixel's index among the colours in the order met, a byte a pixel,
// row by row into rows.bytes; false when there are more than 256. Runs of
// one colour are the rule, so a colour is looked up only where a run starts.
bool IndexColours(const gdi32::PixelBuffer& picture, std::uint32_t (&colours)[256], Rows& rows)
{
    const auto width = static_cast<std::size_t>(picture.width);
    rows.bytes.resize(width * static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        png_byte* out = rows.bytes.data() + static_cast<std::size_t>(y) * width;
        if (RepeatsRowAbove(picture, y)) {
            std::memcpy(out, out - width, width);
            continue;
        }
        const std::uint32_t* pixel = picture.pixels.data() + static_cast<std::size_t>(y) * width;
        const std::uint32_t* const end = pixel + width;
        while (pixel != end) {
            const std::uint32_t colour = *pixel;
            const auto index = static_cast<int>(std::find(colours, colours + rows.colours, colour) - colours);
            if (index == rows.colours) {
                if (rows.colours == 256)
                    return false;
                colours[rows.colours++] = colour;
            }
            const std::uint32_t* runEnd = RunEnd(pixel + 1, end, colour);
            std::memset(out, index, static_cast<std::size_t>(runEnd - pixel));
            out += runEnd - pixel;
            pixel = runEnd;
        }
    }
    return true;
}

// The index bytes packed to bitDepth in place, row by row (a packed row
// is never longer than the bytes it is made from), the first pixel of a
// byte in its highest bits; a row that repeats the one above is copied.
void PackIndices(const gdi32::PixelBuffer& picture, Rows& rows)
{
    const unsigned depth = static_cast<unsigned>(rows.bitDepth);
    const int perByte = static_cast<int>(8 / depth);
    const int width = picture.width;
    rows.stride = static_cast<std::size_t>((width + perByte - 1) / perByte);
    if (perByte == 1)
        return;
    const int whole = width / perByte * perByte;
    for (int y = 0; y < picture.height; ++y) {
        const png_byte* in = rows.bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        png_byte* out = rows.bytes.data() + static_cast<std::size_t>(y) * rows.stride;
        if (RepeatsRowAbove(picture, y)) {
            std::memcpy(out, out - rows.stride, rows.stride);
            continue;
        }
        int x = 0;
        if (perByte == 2) {
            for (; x < whole; x += 2)
                *out++ = static_cast<png_byte>(in[x] << 4 | in[x + 1]);
        } else if (perByte == 4) {
            for (; x < whole; x += 4)
                *out++ = static_cast<png_byte>(in[x] << 6 | in[x + 1] << 4 | in[x + 2] << 2 | in[x + 3]);
        } else {
            for (; x < whole; x += perByte) {
                unsigned byte = 0;
                for (int i = 0; i < perByte; ++i)
                    byte = byte << depth | in[x + i];
                *out++ = static_cast<png_byte>(byte);
            }
        }
        if (x < width) {
            unsigned byte = 0;
            for (int i = 0; i < perByte; ++i)
                byte = byte << depth | (x + i < width ? in[x + i] : 0u);
            *out = static_cast<png_byte>(byte);
        }
    }
    rows.bytes.resize(rows.stride * static_cast<std::size_t>(picture.height));
}

// The picture's rows: packed palette indices, or RGB bytes.
void MakeRows(const gdi32::PixelBuffer& picture, Rows& rows)
{
    std::uint32_t colours[256];
    if (IndexColours(picture, colours, rows)) {
        rows.colourType = PNG_COLOR_TYPE_PALETTE;
        rows.bitDepth = rows.colours <= 2 ? 1 : rows.colours <= 4 ? 2 : rows.colours <= 16 ? 4 : 8;
        for (int i = 0; i < rows.colours; ++i)
            rows.palette[i] = png_color{static_cast<png_byte>(colours[i] >> 16),
                                        static_cast<png_byte>(colours[i] >> 8), static_cast<png_byte>(colours[i])};
        PackIndices(picture, rows);
    } else {
        rows.colours = 0;
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
    auto sink = std::make_unique<Sink>();
    sink->fd = fd;
    Encode(&rows, picture.width, picture.height, sink.get());
    if (sink->error == 0)
        sink->error = WriteGathered(sink.get());
    return sink->error;
}

} // namespace pidpage
