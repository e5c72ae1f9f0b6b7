// Code page 932 conversions through the C library's iconv.
#include "codepage.h"

#include <cerrno>
#include <iconv.h>

namespace codepage {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (handle_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of input; on a bad sequence calls onBad, which may append
    // a replacement and returns how many input bytes to skip (0: give up).
    template <typename OnBad>
    bool run(const char* input, std::size_t size, std::string& output, OnBad onBad)
    {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input);
        std::size_t inLeft = size;
        char buffer[256];
        while (inLeft > 0) {
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            std::size_t done = iconv(handle_, &in, &inLeft, &out, &outLeft);
            output.append(buffer, static_cast<std::size_t>(out - buffer));
            if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
                std::size_t skip = onBad(output);
                if (skip == 0 || skip > inLeft)
                    return false;
                in += skip;
                inLeft -= skip;
            }
        }
        return true;
    }

private:
    iconv_t handle_;
};

std::size_t ReplaceWith(std::string& out, std::string_view replacement)
{
    out.append(replacement);
    return 1; // one bad byte at a time
}

} // namespace

std::u16string ToUtf16(std::string_view cp932)
{
    static Converter converter("UTF-16LE", "CP932");
    std::string bytes;
    if (!converter.run(cp932.data(), cp932.size(), bytes,
                       [](std::string& out) { return ReplaceWith(out, std::string_view("\xFD\xFF", 2)); }))
        return std::u16string(cp932.size(), u'\uFFFD');
    std::u16string result;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        result.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                               (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return result;
}

std::string ToUtf8(std::string_view cp932)
{
    static Converter converter("UTF-8", "CP932");
    std::string result;
    if (!converter.run(cp932.data(), cp932.size(), result,
                       [](std::string& out) { return ReplaceWith(out, "\xEF\xBF\xBD"); }))
        return std::string(cp932.size(), '?');
    return result;
}

} // namespace codepage
