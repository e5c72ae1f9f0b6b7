// SetTimer and KillTimer over Qt timers. A timer that runs out only marks
// itself due: as on Windows, WM_TIMER is made when the queue holds nothing
// else, and a timer that runs out again before it is taken gives no second
// message, so a busy window is never flooded.
#include "timers.h"

#include "../fixme.h"
#include "../kernel32/kernel32.h"
#include "window.h"

#include <QTimer>

#include <algorithm>
#include <chrono>
#include <list>
#include <memory>

namespace user32 {
namespace {

// The limits Windows puts on a timer's period.
constexpr UINT kMinimumElapse = 10;
constexpr UINT kMaximumElapse = 0x7FFFFFFF;

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    bool due = false;
    std::unique_ptr<QTimer> clock;
};

std::list<Timer> timers;

std::list<Timer>::iterator FindTimer(HWND hwnd, UINT_PTR id)
{
    return std::find_if(timers.begin(), timers.end(),
                        [&](const Timer& timer) { return timer.hwnd == hwnd && timer.id == id; });
}

} // namespace

bool TakeDueTimer(MSG& msg, HWND hwnd, UINT first, UINT last, bool remove)
{
    for (Timer& timer : timers) {
        bool passes = (hwnd == nullptr || timer.hwnd == hwnd)
                   && ((first == 0 && last == 0) || (WM_TIMER >= first && WM_TIMER <= last));
        if (timer.due && passes) {
            msg = MSG{timer.hwnd, WM_TIMER, timer.id, 0, GetTickCount(), {}};
            if (remove)
                timer.due = false;
            return true;
        }
    }
    return false;
}

void KillTimersOf(HWND hwnd)
{
    timers.remove_if([hwnd](const Timer& timer) { return timer.hwnd == hwnd; });
}

} // namespace user32

using namespace user32;

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    if (hWnd == nullptr || lpTimerFunc != nullptr) {
        // Thread timers and timer procedures are not needed here.
        layer::Fixme("SetTimer %s", hWnd == nullptr ? "without a window" : "with a timer procedure");
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return 0;
    }
    if (FindWindowObject(hWnd) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    // The same window and identifier: the timer starts again with the new period.
    auto found = FindTimer(hWnd, nIDEvent);
    if (found == timers.end()) {
        timers.push_back(Timer{hWnd, nIDEvent, false, std::make_unique<QTimer>()});
        found = std::prev(timers.end());
        Timer* timer = &*found; // list elements stay where they are
        QObject::connect(timer->clock.get(), &QTimer::timeout, [timer] { timer->due = true; });
    }
    found->due = false;
    found->clock->start(std::chrono::milliseconds(std::clamp(uElapse, kMinimumElapse, kMaximumElapse)));
    return nIDEvent != 0 ? nIDEvent : 1;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    auto found = FindTimer(hWnd, uIDEvent);
    if (found == timers.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    timers.erase(found);
    return TRUE;
}
