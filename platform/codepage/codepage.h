// The program's code page 932 text as the Unicode that Qt and CUPS take.
#pragma once

#include <string>
#include <string_view>

namespace codepage {

// Undecodable bytes come out as U+FFFD.
std::u16string ToUtf16(std::string_view cp932);
std::string ToUtf8(std::string_view cp932);

} // namespace codepage
