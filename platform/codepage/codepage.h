// The program's code page 932 text as the Unicode that Qt and CUPS take.
#pragma once

#include <string>
#include <string_view>

namespace codepage {

// Undecodable bytes come out as U+FFFD.
std::u16string ToUtf16(std::string_view cp932);
std::string ToUtf8(std::string_view cp932);
// Unicode text as code page 932; a character without a form there becomes '?'.
std::string FromUtf16(std::u16string_view text);

// A file name's bytes as code page 932 text to show: a UTF-8 name (the file
// system's usual encoding) is converted, any other is taken for code page 932
// already (as a name unpacked from an old Windows archive is). A character
// without a code page 932 form, or a byte that is neither, becomes '?'.
std::string FileNameToCodePage(std::string_view name);

// Whether a byte starts a two-byte character.
bool IsLeadByte(unsigned char c);

} // namespace codepage
