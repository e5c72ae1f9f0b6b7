// Comma-separated values as RFC 4180 writes them: fields quoted only where
// they must be, records ending in CR LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pidpage::csv {

// The text as one field: quoted, with its quotes doubled, when it holds a
// comma, a quote, CR or LF; its bytes otherwise unchanged.
std::string Field(std::string_view text);
// Plain decimals with a dot whatever the locale, no thousands separators.
std::string Integer(long long value);
std::string Fixed(double value, int decimals); // all the decimals, zeros kept
// digits significant digits, with an exponent only where one is needed.
std::string Significant(double value, int digits);

// The fields joined by commas, with the record's CR LF.
std::string Record(const std::vector<std::string>& fields);

} // namespace pidpage::csv
