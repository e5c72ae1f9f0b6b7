// A picture of any number of colours comes back from its PNG pixel for
// pixel, in the smallest form: 1, 2, 4 or 8 bits of palette, else RGB.
#include "pidpage/png_encoding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <png.h>
#include <vector>

TEST(PngColours, EveryPixelComesBackInTheSmallestForm)
{
    struct Case { int colours, bitDepth, colourType; };
    for (Case c : {Case{2, 1, 3}, Case{3, 2, 3}, Case{5, 4, 3}, Case{17, 8, 3}, Case{256, 8, 3}, Case{257, 8, 2}}) {
        // 13 columns: rows that end part way through a byte at every depth.
        gdi32::PixelBuffer picture(13, 21);
        for (int i = 0; i < 13 * 21; ++i)
            picture.pixels[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(i % c.colours) * 0x000103u;
        std::FILE* file = std::tmpfile();
        ASSERT_EQ(pidpage::WritePng(picture, fileno(file)), 0);
        std::vector<unsigned char> bytes(4096);
        std::rewind(file);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        std::fclose(file);
        ASSERT_GT(bytes.size(), 26u);
        EXPECT_EQ(bytes[24], c.bitDepth) << c.colours << " colours";
        EXPECT_EQ(bytes[25], c.colourType) << c.colours << " colours";

        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) << image.message;
        image.format = PNG_FORMAT_BGRA;
        std::vector<std::uint32_t> read(13 * 21);
        ASSERT_TRUE(png_image_finish_read(&image, nullptr, read.data(), 0, nullptr)) << image.message;
        for (std::uint32_t& pixel : read)
            pixel &= 0xFFFFFF;
        EXPECT_EQ(read, picture.pixels) << c.colours << " colours";
    }
}
