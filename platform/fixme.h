// The layer's word on what it does not do: one line on standard error for a
// call, flag or message it meets and does not implement, when the debug
// switch PIDVIEW_FIXME is set in the environment.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace layer {

[[gnu::format(printf, 1, 2)]] inline void Fixme(const char* format, ...)
{
    static const bool wanted = std::getenv("PIDVIEW_FIXME") != nullptr;
    if (!wanted)
        return;
    std::va_list args;
    va_start(args, format);
    std::fputs("pidview fixme: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
}

} // namespace layer
