// Document titles: the program's code page 932 bytes as the UTF-8 that CUPS
// expects in a job name.
#pragma once

#include <string>
#include <string_view>

namespace winspool {

// Bytes that do not decode become '?'.
std::string TitleToUtf8(std::string_view cp932);

} // namespace winspool
