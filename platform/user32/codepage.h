// Code page 932 text, as the program hands it over, to UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace user32 {

// Undecodable bytes come out as U+FFFD.
std::u16string FromCodePage(std::string_view text);

} // namespace user32
