// The system's tick count, and file times compared.
#include "kernel32.h"

#include <chrono>

LONG WINAPI CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2)
{
    auto ticks = [](const FILETIME* time) {
        return (static_cast<std::uint64_t>(time->dwHighDateTime) << 32) | time->dwLowDateTime;
    };
    std::uint64_t first = ticks(lpFileTime1), second = ticks(lpFileTime2);
    return first < second ? -1 : first > second ? 1 : 0;
}

DWORD WINAPI GetTickCount()
{
    using namespace std::chrono;
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
