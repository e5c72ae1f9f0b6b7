// Code page 932 text, as the program hands it over, to and from UTF-16.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace user32 {

// Undecodable bytes come out as U+FFFD.
std::u16string FromCodePage(std::string_view text);
// Empty when some character has no code page 932 form.
std::optional<std::string> ToCodePage(std::u16string_view text);

} // namespace user32
