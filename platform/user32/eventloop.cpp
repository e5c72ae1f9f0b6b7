// The waits of the message loop inside Qt's event loop.
#include "eventloop.h"

#include "messages.h"
#include "window.h"

#include <QCoreApplication>
#include <QEventLoop>

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
    if (Window* window = FindWindowObject(owner))
        --window->modalChildren;
}

} // namespace user32
