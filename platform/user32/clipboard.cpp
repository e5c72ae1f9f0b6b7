// The clipboard over Qt's: a program opens it, empties it to become its
// owner, hands it a block of code page 932 text (CF_TEXT), which others then
// read as Unicode, and closes it. The last block stays the clipboard's until
// the next EmptyClipboard, as on Windows.
#include "../codepage/codepage.h"
#include "../kernel32/kernel32.h"
#include "../fixme.h"
#include "window.h"

#include <QClipboard>
#include <QGuiApplication>

#include <cstring>
#include <string_view>

namespace user32 {
namespace {

class Clipboard {
public:
    bool open(HWND owner)
    {
        if (owner != nullptr && FindWindowObject(owner) == nullptr)
            return fail(ERROR_INVALID_WINDOW_HANDLE);
        if (isOpen_ && owner != opener_)
            return fail(ERROR_ACCESS_DENIED);
        isOpen_ = true;
        opener_ = owner;
        return true;
    }

    bool close()
    {
        if (!isOpen_)
            return fail(ERROR_CLIPBOARD_NOT_OPEN);
        isOpen_ = false;
        opener_ = nullptr;
        return true;
    }

    bool empty()
    {
        if (!isOpen_)
            return fail(ERROR_CLIPBOARD_NOT_OPEN);
        release();
        if (QClipboard* clipboard = systemClipboard())
            clipboard->clear();
        return true;
    }

    // The text up to its first zero byte (or the block's end) goes to the
    // system's clipboard; the block is kept, and freed by the next empty().
    HANDLE setText(HGLOBAL memory)
    {
        if (!isOpen_) {
            fail(ERROR_CLIPBOARD_NOT_OPEN);
            return nullptr;
        }
        SIZE_T size = GlobalSize(memory);
        auto* bytes = static_cast<const char*>(size > 0 ? GlobalLock(memory) : nullptr);
        if (bytes == nullptr) {
            fail(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        std::u16string text = codepage::ToUtf16(std::string_view(bytes, strnlen(bytes, size)));
        GlobalUnlock(memory);
        if (QClipboard* clipboard = systemClipboard())
            clipboard->setText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
        if (held_ != memory)
            release();
        held_ = memory;
        return memory;
    }

private:
    static bool fail(DWORD error)
    {
        SetLastError(error);
        return false;
    }
    static QClipboard* systemClipboard()
    {
        return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr ? QGuiApplication::clipboard()
                                                                                         : nullptr;
    }
    void release()
    {
        if (held_ != nullptr)
            GlobalFree(held_);
        held_ = nullptr;
    }

    bool isOpen_ = false;
    HWND opener_ = nullptr;
    HGLOBAL held_ = nullptr;
};

Clipboard& TheClipboard()
{
    static Clipboard clipboard;
    return clipboard;
}

} // namespace
} // namespace user32

using namespace user32;

BOOL WINAPI OpenClipboard(HWND hWndNewOwner)
{
    return TheClipboard().open(hWndNewOwner);
}

BOOL WINAPI EmptyClipboard()
{
    return TheClipboard().empty();
}

HANDLE WINAPI SetClipboardData(UINT uFormat, HANDLE hMem)
{
    if (uFormat != CF_TEXT || hMem == nullptr) {
        // Other formats, and data rendered on request, are not needed here.
        layer::Fixme("SetClipboardData format %u%s", uFormat, hMem == nullptr ? " rendered on request" : "");
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return TheClipboard().setText(hMem);
}

BOOL WINAPI CloseClipboard()
{
    return TheClipboard().close();
}
