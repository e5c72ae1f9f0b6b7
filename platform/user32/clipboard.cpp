// The clipboard over Qt's: a program opens it, empties it to become its
// owner, hands it blocks of code page 932 text (CF_TEXT) or a picture
// (CF_DIB), which others then read as Unicode text and as an image, and
// closes it. A CF_LOCALE block is kept with them: the program's text is code
// page 932 whatever locale it names. The blocks stay the clipboard's until the next EmptyClipboard,
// as on Windows.
#include "../codepage/codepage.h"
#include "../kernel32/kernel32.h"
#include "../fixme.h"
#include "clipboard_dib.h"
#include "window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <cstring>
#include <optional>
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
        release(text_);
        release(picture_);
        release(locale_);
        if (QClipboard* clipboard = systemClipboard())
            clipboard->clear();
        return true;
    }

    // The text up to its first zero byte (or the block's end), or the
    // picture, goes to the system's clipboard beside what is there already;
    // the block is kept, and freed by the next empty() or the next block of
    // its format.
    HANDLE set(UINT format, HGLOBAL memory)
    {
        if (!isOpen_) {
            fail(ERROR_CLIPBOARD_NOT_OPEN);
            return nullptr;
        }
        SIZE_T size = GlobalSize(memory);
        auto* bytes = static_cast<const BYTE*>(size > 0 ? GlobalLock(memory) : nullptr);
        if (bytes == nullptr) {
            fail(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        bool taken = true;
        if (format == CF_LOCALE) {
            taken = size >= sizeof(LCID);
        } else if (format == CF_TEXT) {
            auto* chars = reinterpret_cast<const char*>(bytes);
            std::u16string text = codepage::ToUtf16(std::string_view(chars, strnlen(chars, size)));
            text_.value = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
        } else if (std::optional<QImage> image = ImageFromDib(std::span(bytes, size))) {
            picture_.value = *image;
        } else {
            layer::Fixme("SetClipboardData: a CF_DIB block this layer cannot read");
            taken = false;
        }
        GlobalUnlock(memory);
        if (!taken) {
            fail(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        Held& held = format == CF_TEXT ? static_cast<Held&>(text_)
                     : format == CF_DIB ? static_cast<Held&>(picture_)
                                        : locale_;
        if (held.memory != memory)
            release(held);
        held.memory = memory;
        if (format != CF_LOCALE)
            publish();
        return memory;
    }

private:
    struct Held {
        HGLOBAL memory = nullptr;
    };
    struct HeldText : Held {
        QString value;
    };
    struct HeldPicture : Held {
        QImage value;
    };

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
    static void release(Held& held)
    {
        if (held.memory != nullptr)
            GlobalFree(held.memory);
        held.memory = nullptr;
    }
    void publish()
    {
        QClipboard* clipboard = systemClipboard();
        if (clipboard == nullptr)
            return;
        auto* data = new QMimeData;
        if (text_.memory != nullptr)
            data->setText(text_.value);
        if (picture_.memory != nullptr)
            data->setImageData(picture_.value);
        clipboard->setMimeData(data); // the clipboard takes it
    }

    bool isOpen_ = false;
    HWND opener_ = nullptr;
    HeldText text_;
    HeldPicture picture_;
    Held locale_;
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
    if ((uFormat != CF_TEXT && uFormat != CF_DIB && uFormat != CF_LOCALE) || hMem == nullptr) {
        // Other formats, and data rendered on request, are not needed here.
        layer::Fixme("SetClipboardData format %u%s", uFormat, hMem == nullptr ? " rendered on request" : "");
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return TheClipboard().set(uFormat, hMem);
}

BOOL WINAPI CloseClipboard()
{
    return TheClipboard().close();
}
