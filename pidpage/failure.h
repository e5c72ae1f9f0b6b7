// A failure that ends pidpage: main prints its message as one line on
// standard error and exits with its status.
#pragma once

#include <string>

namespace pidpage {

inline constexpr int kStatusFailed = 1; // a file cannot be read or written
inline constexpr int kStatusUsage = 2;  // a wrong command line

struct Failure {
    int status;
    std::string message;
};

[[noreturn]] inline void Fail(int status, std::string message)
{
    throw Failure{status, std::move(message)};
}

} // namespace pidpage
