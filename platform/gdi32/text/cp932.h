// Code page 932 decoding for the text cells: one character at a time, with
// the bytes it took, so the caller can size its cell from them.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <span>

namespace gdi32::text {

struct Cp932Char {
    char32_t codePoint; // meaningful only when valid
    std::size_t bytes;  // 1 or 2, valid or not
    bool valid;         // false: every byte taken is a bad byte
};

// Decodes through the C library's converter, remembering every answer: single
// bytes are all looked up at construction, pairs on first sight. Not safe to
// share between threads without a lock.
class Cp932Decoder {
public:
    Cp932Decoder();
    ~Cp932Decoder();
    Cp932Decoder(const Cp932Decoder&) = delete;
    Cp932Decoder& operator=(const Cp932Decoder&) = delete;

    // The character starting at text[at]; reads nothing past text's end.
    // A lead byte at the end, or one followed by a byte that cannot trail,
    // is one bad byte; an undefined pair is two.
    Cp932Char next(std::span<const char> text, std::size_t at);

private:
    char32_t convert(const unsigned char* bytes, std::size_t count);

    void* converter_; // iconv_t, kept out of this header
    std::array<char32_t, 256> singles_;
    // Pairs by lead byte, a page of 256 trails made on first use: a page of
    // text meets a few leads, and a whole table would cost a quarter of a
    // megabyte to set up.
    std::array<std::unique_ptr<std::array<char32_t, 256>>, 256> pairs_;
};

} // namespace gdi32::text
