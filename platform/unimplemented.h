// The layer's note of a call, flag or message it does not implement: one line
// on standard error when PIDVIEW_DEBUG is set, nothing otherwise.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace platform {

[[gnu::format(printf, 1, 2)]] inline void Unimplemented(const char* format, ...)
{
    static const bool wanted = std::getenv("PIDVIEW_DEBUG") != nullptr;
    if (!wanted)
        return;
    std::va_list arguments;
    va_start(arguments, format);
    std::fputs("pidview: not implemented: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputc('\n', stderr);
    va_end(arguments);
}

} // namespace platform
