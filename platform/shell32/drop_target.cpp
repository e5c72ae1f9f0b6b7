// DragAcceptFiles over Qt: a window that accepts files takes a drag of local
// files from a file manager and posts WM_DROPFILES for the drop.
#include "drops.h"

#include "../user32/frame.h"
#include "../user32/user32.h"

#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace {

const QString kTargetName = QStringLiteral("pidview-drop-target");

std::vector<std::string> pathsOf(const QMimeData* data)
{
    if (data == nullptr || !data->hasFormat(QStringLiteral("text/uri-list")))
        return {};
    QByteArray list = data->data(QStringLiteral("text/uri-list"));
    return shell32::LocalPathsOfUriList(std::string_view(list.constData(), static_cast<std::size_t>(list.size())));
}

// A copy, never a move: a file manager deletes the original of a file whose
// move was accepted.
bool acceptAsCopy(QDropEvent* event)
{
    if (!(event->possibleActions() & Qt::CopyAction)) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

class DropTarget : public QObject {
public:
    DropTarget(HWND hwnd, QObject* parent) : QObject(parent), hwnd_(hwnd) { setObjectName(kTargetName); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
            // Read once: on X11 each look at the data asks the source again.
            hasFiles_ = !pathsOf(static_cast<QDropEvent*>(event)->mimeData()).empty();
            [[fallthrough]];
        case QEvent::DragMove:
            // No drop while a dialog or message box of the window is open.
            if (hasFiles_ && IsWindowEnabled(hwnd_))
                acceptAsCopy(static_cast<QDropEvent*>(event));
            else
                event->ignore();
            return true;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            std::vector<std::string> paths = pathsOf(drop->mimeData());
            if (paths.empty() || !IsWindowEnabled(hwnd_) || !acceptAsCopy(drop)) {
                drop->ignore();
                return true;
            }
            PostMessageA(hwnd_, WM_DROPFILES, reinterpret_cast<WPARAM>(shell32::AddDrop(std::move(paths))), 0);
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    HWND hwnd_;
    bool hasFiles_ = false;
};

} // namespace

void WINAPI DragAcceptFiles(HWND hWnd, BOOL fAccept)
{
    QWidget* widget = user32::OwnerWidget(hWnd);
    if (widget == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return;
    }
    QObject* target = widget->findChild<QObject*>(kTargetName, Qt::FindDirectChildrenOnly);
    if (fAccept && target == nullptr)
        widget->installEventFilter(new DropTarget(hWnd, widget));
    if (!fAccept)
        delete target; // which takes the filter away
    widget->setAcceptDrops(fAccept != FALSE);
}
