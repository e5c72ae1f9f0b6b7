// Code page 932 decoding over glibc's iconv, cached in two tables so that a
// text costs table look-ups, not converter calls.
#include "cp932.h"

#include <cerrno>
#include <iconv.h>

namespace gdi32::text {

namespace {

constexpr char32_t kBad = 0xFFFFFFFF;
constexpr char32_t kLead = 0xFFFFFFFE;    // a single byte that needs a second one
constexpr char32_t kUnknown = 0xFFFFFFFD; // a pair not yet asked about

// The bytes that may follow a lead byte. After any other byte the lead
// stands alone and the next byte starts a character of its own.
bool CanTrail(unsigned char byte)
{
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

} // namespace

Cp932Decoder::Cp932Decoder() : converter_(nullptr)
{
    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    if (cd != reinterpret_cast<iconv_t>(-1))
        converter_ = cd;
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned char in = static_cast<unsigned char>(byte);
        singles_[byte] = convert(&in, 1);
    }
}

Cp932Decoder::~Cp932Decoder()
{
    if (converter_)
        iconv_close(static_cast<iconv_t>(converter_));
}

char32_t Cp932Decoder::convert(const unsigned char* bytes, std::size_t count)
{
    if (!converter_)
        return count == 1 && bytes[0] < 0x80 ? char32_t(bytes[0]) : kBad;
    iconv_t cd = static_cast<iconv_t>(converter_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char in[2] = {static_cast<char>(bytes[0]), count > 1 ? static_cast<char>(bytes[1]) : '\0'};
    char* inPtr = in;
    std::size_t inLeft = count;
    unsigned char out[8];
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof out;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        return errno == EINVAL ? kLead : kBad;
    // Exactly one character from all the bytes given, or it does not count.
    if (inLeft != 0 || outLeft != sizeof out - 4)
        return kBad;
    return char32_t(out[0]) | char32_t(out[1]) << 8 | char32_t(out[2]) << 16 | char32_t(out[3]) << 24;
}

Cp932Char Cp932Decoder::next(std::span<const char> text, std::size_t at)
{
    unsigned char lead = static_cast<unsigned char>(text[at]);
    char32_t single = singles_[lead];
    if (single != kLead)
        return single == kBad ? Cp932Char{0, 1, false} : Cp932Char{single, 1, true};
    if (at + 1 >= text.size())
        return {0, 1, false};
    unsigned char trail = static_cast<unsigned char>(text[at + 1]);
    if (!CanTrail(trail))
        return {0, 1, false};
    std::unique_ptr<std::array<char32_t, 256>>& page = pairs_[lead];
    if (!page) {
        page = std::make_unique<std::array<char32_t, 256>>();
        page->fill(kUnknown);
    }
    char32_t& pair = (*page)[trail];
    if (pair == kUnknown) {
        unsigned char in[2] = {lead, trail};
        pair = convert(in, 2);
        if (pair == kLead)
            pair = kBad;
    }
    return pair == kBad ? Cp932Char{0, 2, false} : Cp932Char{pair, 2, true};
}

} // namespace gdi32::text
