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

    // Converts all of input; on a bad sequence calls onBad with the output
    // and the input left, which may append a replacement and returns how
    // many input bytes to skip (0: give up).
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
                std::size_t skip = onBad(output, std::string_view(in, inLeft));
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
    auto replace = [](std::string& out, std::string_view) { return ReplaceWith(out, std::string_view("\xFD\xFF", 2)); };
    if (!converter.run(cp932.data(), cp932.size(), bytes, replace))
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
                       [](std::string& out, std::string_view) { return ReplaceWith(out, "\xEF\xBF\xBD"); }))
        return std::string(cp932.size(), '?');
    return result;
}

std::string FromUtf16(std::u16string_view text)
{
    static Converter converter("CP932", "UTF-16LE");
    std::string result;
    auto question = [](std::string& out, std::string_view) {
        out.push_back('?');
        return std::size_t{2}; // one UTF-16 unit
    };
    if (!converter.run(reinterpret_cast<const char*>(text.data()), text.size() * 2, result, question))
        return std::string(text.size(), '?');
    return result;
}

std::string FileNameToCodePage(std::string_view name)
{
    static Converter utf8Check("UTF-16LE", "UTF-8");
    static Converter fromUtf8("CP932", "UTF-8");
    std::string result;
    auto giveUp = [](std::string&, std::string_view) { return std::size_t{0}; };
    if (utf8Check.run(name.data(), name.size(), result, giveUp)) {
        result.clear();
        // Skips the whole character that has no form here.
        auto question = [](std::string& out, std::string_view rest) {
            auto lead = static_cast<unsigned char>(rest[0]);
            out.push_back('?');
            return std::size_t{lead < 0xE0 ? 2u : lead < 0xF0 ? 3u : 4u};
        };
        if (fromUtf8.run(name.data(), name.size(), result, question))
            return result;
        return std::string(name.size(), '?');
    }
    // Code page 932 already: through Unicode and back, so that only its
    // undecodable bytes change.
    return FromUtf16(ToUtf16(name));
}

bool IsLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

} // namespace codepage
