// Posting, getting, sending and dispatching messages.
#include "messages.h"

#include "dialog_items.h"
#include "eventloop.h"
#include "key_state.h"
#include "resource_report.h"
#include "timers.h"
#include "window.h"

#include <algorithm>
#include <chrono>
#include <deque>

namespace user32 {
namespace {

std::deque<MSG> posted;
// Keyboard and mouse messages, in the order they came, after the posted ones.
struct QueuedInput {
    MSG msg;
    InputState state;
};
std::deque<QueuedInput> input;
bool quitPosted = false;
int quitCode = 0;

DWORD now()
{
    using namespace std::chrono;
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool inFilter(const MSG& msg, HWND hwnd, UINT first, UINT last)
{
    if (hwnd != nullptr && msg.hwnd != hwnd)
        return false;
    if (first == 0 && last == 0)
        return true;
    return msg.message >= first && msg.message <= last;
}

// The next message that passes the filter, removed from the queue if asked.
bool findMessage(MSG& msg, HWND hwnd, UINT first, UINT last, bool remove, bool takeQuit)
{
    for (auto it = posted.begin(); it != posted.end(); ++it) {
        if (inFilter(*it, hwnd, first, last)) {
            msg = *it;
            if (remove)
                posted.erase(it);
            return true;
        }
    }
    for (auto it = input.begin(); it != input.end();) {
        if (!inFilter(it->msg, hwnd, first, last)) {
            ++it;
        } else if (IsUserInput(it->msg.message) && !IsWindowEnabled(it->msg.hwnd)) {
            it = input.erase(it); // a window disabled by a modal dialog takes no input
        } else if (it->state.outside && it->msg.hwnd != GetCapture()) {
            MSG dropped = it->msg;
            input.erase(it);
            OutsideMessageDropped(dropped); // may queue a leave
            it = input.begin();
        } else {
            msg = it->msg;
            if (remove) {
                if (IsUserInput(it->msg.message))
                    TakeInputState(it->msg, it->state);
                input.erase(it);
            }
            return true;
        }
    }
    if (takeQuit && quitPosted) {
        msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0, now(), {}};
        if (remove)
            quitPosted = false;
        return true;
    }
    // Paint messages are never queued: they are made up while a window
    // has something to repaint.
    for (Window* window : LiveWindows()) {
        bool waiting = window->kind == Window::Kind::TopLevel && window->update.right > window->update.left &&
                       window->update.bottom > window->update.top;
        MSG paint{window->handle(), WM_PAINT, 0, 0, now(), {}};
        if (waiting && inFilter(paint, hwnd, first, last)) {
            msg = paint;
            return true;
        }
    }
    // Timers come last, after the paints: a window busy with messages still
    // paints.
    return TakeDueTimer(msg, hwnd, first, last, remove);
}

} // namespace

bool TakeMessage(MSG& msg, bool takeQuit)
{
    return findMessage(msg, nullptr, 0, 0, true, takeQuit);
}

void ForgetMessagesOf(HWND hwnd)
{
    std::erase_if(posted, [hwnd](const MSG& msg) { return msg.hwnd == hwnd; });
    std::erase_if(input, [hwnd](const QueuedInput& queued) { return queued.msg.hwnd == hwnd; });
}

bool IsUserInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

void PostInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, POINT pt, InputState state)
{
    MSG msg{hwnd, message, wParam, lParam, now(), pt};
    // Moves are not queued up: a waiting one takes the newer position.
    if (message == WM_MOUSEMOVE && !input.empty() && input.back().msg.message == WM_MOUSEMOVE &&
        input.back().msg.hwnd == hwnd) {
        input.back() = QueuedInput{msg, std::move(state)};
        return;
    }
    input.push_back(QueuedInput{msg, std::move(state)});
}

} // namespace user32

using namespace user32;

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax)
{
    if (lpMsg == nullptr || (hWnd != nullptr && FindWindowObject(hWnd) == nullptr)) {
        SetLastError(lpMsg == nullptr ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    while (!findMessage(*lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true, true)) {
        if (!WaitForEvents()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return -1;
        }
    }
    return lpMsg->message != WM_QUIT;
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    if (lpMsg == nullptr)
        return FALSE;
    return findMessage(*lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0, true);
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg)
{
    if (lpMsg == nullptr)
        return 0;
    Window* window = FindWindowObject(lpMsg->hwnd);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LRESULT result = Deliver(*window, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
    if (lpMsg->message == WM_COMMAND)
        ReportResourcesAfterCommand();
    return result;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (hWnd != nullptr && FindWindowObject(hWnd) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    posted.push_back(MSG{hWnd, Msg, wParam, lParam, now(), {}});
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    Window* window = FindWindowObject(hWnd);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LRESULT result = Deliver(*window, Msg, wParam, lParam);
    // What a dialog procedure leaves alone, the dialog manager answers.
    if (result == 0 && (window = FindWindowObject(hWnd)) != nullptr && window->kind == Window::Kind::Dialog)
        return DialogDefault(*window, Msg);
    return result;
}

void WINAPI PostQuitMessage(int nExitCode)
{
    quitPosted = true;
    quitCode = nExitCode;
}
