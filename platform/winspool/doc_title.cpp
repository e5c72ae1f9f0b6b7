// Code page 932 to UTF-8 over iconv.
#include "doc_title.h"

#include <iconv.h>

namespace winspool {

std::string TitleToUtf8(std::string_view cp932)
{
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        std::string ascii(cp932);
        for (char& c : ascii)
            if (static_cast<unsigned char>(c) >= 0x80)
                c = '?';
        return ascii;
    }
    std::string out;
    std::string in(cp932);
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    while (inLeft > 0) {
        char buffer[256];
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (result == static_cast<std::size_t>(-1) && outLeft == sizeof buffer) {
            // Not a full output buffer: an undecodable byte (or a lead byte at the end).
            out += '?';
            ++inPtr;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace winspool
