// The waits of the message loop inside Qt's event loop.
#include "eventloop.h"

#include "frame.h"
#include "messages.h"
#include "window.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QWidget>

namespace user32 {

bool WaitForEvents()
{
    if (QCoreApplication::instance() == nullptr)
        return false;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
    return true;
}

void RunModalLoop(HWND owner, const std::function<bool()>& finished)
{
    if (Window* window = FindWindowObject(owner))
        ++window->modalChildren;
    // A box whose owner has gone is gone with it.
    while (!finished() && (owner == nullptr || FindWindowObject(owner) != nullptr)) {
        MSG msg;
        if (TakeMessage(msg, false)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        if (!WaitForEvents())
            break;
    }
    // As on Windows, the owner is the active window again once its last
    // modal box has gone: without a window manager nobody else would make it
    // so, and its keys (the menus' mnemonics among them) would go nowhere.
    if (Window* window = FindWindowObject(owner); window != nullptr && --window->modalChildren == 0) {
        if (QWidget* widget = OwnerWidget(owner); widget != nullptr && widget->isVisible())
            widget->activateWindow();
    }
}

} // namespace user32
