// RFC 4180 fields and records.
#include "csv.h"

#include <charconv>
#include <limits>

namespace pidpage::csv {

std::string Field(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

std::string Integer(long long value)
{
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, result.ptr);
}

std::string Fixed(double value, int decimals)
{
    // Room for the largest double written out in full.
    char digits[std::numeric_limits<double>::max_exponent10 + 40];
    auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    return result.ec == std::errc{} ? std::string(digits, result.ptr) : std::string();
}

std::string Significant(double value, int digits)
{
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits);
    return result.ec == std::errc{} ? std::string(text, result.ptr) : std::string();
}

std::string Record(const std::vector<std::string>& fields)
{
    std::string record;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            record += ',';
        record += fields[i];
    }
    return record + "\r\n";
}

} // namespace pidpage::csv
