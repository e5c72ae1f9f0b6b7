// Change notifications on a folder over inotify, and the wait on one. A
// handle is signalled from the first event its filter names until
// FindNextChangeNotification asks for the next; events are taken in only
// when the handle is waited for, so a watch costs nothing in between. With
// PIDVIEW_REMOTE_FOLDERS set, none is ever signalled.
#include "kernel32.h"

#include "../fixme.h"
#include "folder_error.h"
#include "handle_table.h"
#include "volumes.h"

#include <cerrno>
#include <chrono>
#include <memory>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace kernel32 {
namespace {

constexpr std::uintptr_t kChangeHandleTag = static_cast<std::uintptr_t>(0x8500'0000'0000'0000u);

constexpr DWORD kNameFilters = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;
constexpr DWORD kKnownFilters = kNameFilters | FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE
                              | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SECURITY;

std::uint32_t WatchMask(DWORD filter)
{
    std::uint32_t mask = IN_ONLYDIR | IN_DELETE_SELF | IN_MOVE_SELF;
    if (filter & kNameFilters)
        mask |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
    if (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE))
        mask |= IN_MODIFY;
    // A write time set without writing (touch) changes the attributes.
    if (filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SECURITY))
        mask |= IN_ATTRIB;
    return mask;
}

class Notification {
public:
    Notification(int instance, DWORD filter) : instance_(instance), filter_(filter) {}
    ~Notification() { ::close(instance_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    // WAIT_OBJECT_0 once signalled, WAIT_TIMEOUT when the time runs out
    // first (INFINITE: never).
    DWORD wait(DWORD milliseconds)
    {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
        for (;;) {
            takeEvents();
            if (signalled_)
                return WAIT_OBJECT_0;
            int timeout = -1;
            if (milliseconds != INFINITE) {
                auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
                if (left <= 0)
                    return WAIT_TIMEOUT;
                timeout = static_cast<int>(left);
            }
            pollfd ready{instance_, POLLIN, 0};
            if (::poll(&ready, 1, timeout) < 0 && errno != EINTR) {
                SetLastError(ERROR_INVALID_HANDLE);
                return WAIT_FAILED;
            }
        }
    }

    // False once the folder itself has gone: no change in it can come.
    bool rearm()
    {
        takeEvents();
        if (gone_)
            return false;
        signalled_ = false;
        return true;
    }

private:
    void takeEvents()
    {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            ssize_t got = ::read(instance_, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return;
            for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                take(event->mask);
            }
        }
    }

    void take(std::uint32_t mask)
    {
        if (FoldersActRemote())
            return; // as for another machine's writes: nothing comes
        if (mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) {
            gone_ = true;
            signalled_ = true;
        } else if (mask & IN_Q_OVERFLOW) {
            signalled_ = true; // events were lost: anything may have changed
        } else if (mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO)) {
            signalled_ |= (filter_ & ((mask & IN_ISDIR) ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME)) != 0;
        } else if (mask & (IN_MODIFY | IN_ATTRIB)) {
            signalled_ = true; // the watch asked only for what the filter names
        }
    }

    int instance_;
    DWORD filter_;
    bool signalled_ = false;
    bool gone_ = false;
};

HandleTable<Notification> notifications(kChangeHandleTag);

} // namespace
} // namespace kernel32

using namespace kernel32;

HANDLE WINAPI FindFirstChangeNotificationA(LPCSTR lpPathName, BOOL bWatchSubtree, DWORD dwNotifyFilter)
{
    if (lpPathName == nullptr || lpPathName[0] == '\0' || (dwNotifyFilter & kKnownFilters) == 0) {
        SetLastError(lpPathName == nullptr || lpPathName[0] == '\0' ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (bWatchSubtree)
        layer::Fixme("FindFirstChangeNotificationA watches the folder only, not its subfolders");
    if (dwNotifyFilter & ~kKnownFilters)
        layer::Fixme("FindFirstChangeNotificationA filter 0x%x not watched", dwNotifyFilter & ~kKnownFilters);

    int instance = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (instance < 0) {
        SetLastError(FolderErrorFromErrno(errno, ERROR_DIRECTORY));
        return INVALID_HANDLE_VALUE;
    }
    if (::inotify_add_watch(instance, lpPathName, WatchMask(dwNotifyFilter)) < 0) {
        int error = errno;
        ::close(instance);
        SetLastError(FolderErrorFromErrno(error, ERROR_DIRECTORY));
        return INVALID_HANDLE_VALUE;
    }
    auto notification = std::make_shared<Notification>(instance, dwNotifyFilter);
    HANDLE handle = notifications.Add(std::move(notification));
    SetLastError(ERROR_SUCCESS);
    return handle;
}

BOOL WINAPI FindNextChangeNotification(HANDLE hChangeHandle)
{
    std::shared_ptr<Notification> notification = notifications.Find(hChangeHandle);
    if (notification == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!notification->rearm()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI FindCloseChangeNotification(HANDLE hChangeHandle)
{
    if (!notifications.Remove(hChangeHandle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    std::shared_ptr<Notification> notification = notifications.Find(hHandle);
    if (notification == nullptr) {
        if (hHandle != nullptr && hHandle != INVALID_HANDLE_VALUE)
            layer::Fixme("WaitForSingleObject on a handle that is not a change notification");
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    return notification->wait(dwMilliseconds);
}
