// A top-level window over Qt Widgets: menu bar from the menu template, and a
// client area painted from the window's pixel buffer, so that it stays on
// screen whatever the program is doing, which hands its pointer, key and
// focus events to client_input.
#include "frame.h"

#include "client_input.h"

#include <QAction>
#include <QCloseEvent>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <unordered_map>

namespace user32 {
namespace {

QString toQt(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

class ClientArea : public QWidget {
public:
    ClientArea(HWND hwnd, std::shared_ptr<gdi32::PixelBuffer> pixels, QWidget* parent)
        : QWidget(parent), hwnd_(hwnd), pixels_(std::move(pixels))
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setFixedSize(pixels_->width, pixels_->height);
        // Moves without a button, and the keys, as a window gets them.
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    bool event(QEvent* event) override
    {
        if (ClientAreaEvent(hwnd_, this, event)) {
            event->accept();
            return true;
        }
        return QWidget::event(event);
    }

    void paintEvent(QPaintEvent* event) override
    {
        // The buffer's 0x00RRGGBB words are what RGB32 holds; its top byte
        // is ignored. No copy: the image only borrows the pixels.
        QImage image(reinterpret_cast<const uchar*>(pixels_->pixels.data()), pixels_->width, pixels_->height,
                     pixels_->width * 4, QImage::Format_RGB32);
        QPainter painter(this);
        // On a dense screen the scale is a whole number (the entry asks for
        // it) and the default transform is nearest-neighbour.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        QRect rect = event->rect();
        painter.drawImage(rect, image, rect);
        reportPaint();
    }

private:
    // The wall-clock time of the first frame, for tools/measure_startup.sh,
    // or of every frame, for bench/follow_load.sh.
    void reportPaint()
    {
        static bool reported = !qEnvironmentVariableIsSet("PIDVIEW_REPORT_FIRST_PAINT");
        static const bool every = qEnvironmentVariableIsSet("PIDVIEW_REPORT_PAINTS");
        if (reported && !every)
            return;
        timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        std::fprintf(stderr, "%s %lld\n", reported ? "paint" : "first-paint",
                     static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fflush(stderr);
        reported = true;
    }

    HWND hwnd_;
    std::shared_ptr<gdi32::PixelBuffer> pixels_;
};

class TopLevel : public QWidget {
public:
    explicit TopLevel(HWND hwnd) : hwnd_(hwnd) {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        // The close box asks; the window procedure decides.
        event->ignore();
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
    }

private:
    HWND hwnd_;
};

// The item's state on its action: greyed or disabled items cannot be
// chosen, a checked one shows its mark.
void showState(QAction* action, WORD state)
{
    action->setEnabled((state & (MF_GRAYED | MF_DISABLED)) == 0);
    action->setCheckable((state & MF_CHECKED) != 0);
    action->setChecked((state & MF_CHECKED) != 0);
    action->setData(static_cast<int>(state));
}

// The first action of each command identifier, as the menu calls find them.
using Actions = std::unordered_map<WORD, QAction*>;

// Choosing an item posts its command; the mark stays as the program sets it
// (Qt would toggle a checkable action by itself).
void addAction(QAction* action, const resources::MenuItem& item, HWND hwnd, Actions& actions)
{
    WORD id = item.id;
    showState(action, item.state);
    actions.emplace(id, action);
    QObject::connect(action, &QAction::triggered, [action, hwnd, id] {
        showState(action, static_cast<WORD>(action->data().toInt()));
        PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    });
}

void addItems(QMenu* menu, const std::vector<resources::MenuItem>& items, HWND hwnd, Actions& actions)
{
    for (const resources::MenuItem& item : items) {
        if (item.separator)
            menu->addSeparator();
        else if (item.popup)
            addItems(menu->addMenu(toQt(item.text)), item.children, hwnd, actions);
        else
            addAction(menu->addAction(toQt(item.text)), item, hwnd, actions);
    }
}

} // namespace

struct Frame::Parts {
    TopLevel* window = nullptr;
    ClientArea* client = nullptr;
    Actions actions;
};

Frame::Frame(HWND hwnd, std::shared_ptr<gdi32::PixelBuffer> client, const std::u16string& title, const Menu* menu,
             DWORD style, int x, int y)
    : parts_(std::make_unique<Parts>())
{
    auto* window = new TopLevel(hwnd);
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    if ((style & WS_CAPTION) == WS_CAPTION)
        flags |= Qt::WindowTitleHint;
    if (style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    if ((style & WS_MAXIMIZEBOX) && (style & WS_THICKFRAME))
        flags |= Qt::WindowMaximizeButtonHint;
    window->setWindowFlags(flags);
    window->setWindowTitle(toQt(title));

    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // No sizing border: the window keeps the size its contents give it.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (menu != nullptr) {
        auto* bar = new QMenuBar(window);
        for (const resources::MenuItem& item : menu->items) {
            if (item.popup)
                addItems(bar->addMenu(toQt(item.text)), item.children, hwnd, parts_->actions);
            else if (!item.separator)
                addAction(bar->addAction(toQt(item.text)), item, hwnd, parts_->actions);
        }
        layout->setMenuBar(bar);
    }
    parts_->client = new ClientArea(hwnd, std::move(client), window);
    layout->addWidget(parts_->client);
    parts_->client->setFocus(); // the keys' widget once the window is active
    if (x >= 0 && y >= 0)
        window->move(x, y);
    parts_->window = window;
}

Frame::~Frame()
{
    // A dialog or message box still open on this window belongs to the call
    // that shows it, which deletes it once its modal loop sees the owner
    // gone: Qt must not delete it with the window.
    for (QWidget* child : parts_->window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) {
            child->hide();
            child->setParent(nullptr);
        }
    }
    delete parts_->window;
}

void Frame::show(int showCommand)
{
    switch (showCommand) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        parts_->window->showMinimized();
        break;
    case SW_HIDE:
        parts_->window->hide();
        break;
    default:
        // Maximizing is not offered: the window has a fixed size.
        parts_->window->showNormal();
        break;
    }
}

void Frame::showItemState(WORD id, WORD state)
{
    auto found = parts_->actions.find(id);
    if (found != parts_->actions.end())
        showState(found->second, state);
}

void Frame::hide()
{
    parts_->window->hide();
}

void Frame::showPixels(const RECT& rect)
{
    parts_->client->update(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top));
}

QWidget* Frame::window() const
{
    return parts_->window;
}

QWidget* Frame::clientArea() const
{
    return parts_->client;
}

QWidget* OwnerWidget(HWND hwnd)
{
    Window* window = FindWindowObject(hwnd);
    if (window == nullptr)
        return nullptr;
    if (window->kind == Window::Kind::Dialog)
        return static_cast<QWidget*>(window->dialogWidget);
    if (window->kind == Window::Kind::Control)
        return static_cast<QWidget*>(window->controlWidget)->window();
    return window->frame->window();
}

void SetTitle(HWND hwnd, const std::u16string& title)
{
    if (QWidget* widget = OwnerWidget(hwnd))
        widget->setWindowTitle(toQt(title));
}

QWidget* ClientWidget(HWND hwnd)
{
    Window* window = FindWindowObject(hwnd);
    if (window == nullptr)
        return nullptr;
    if (window->kind == Window::Kind::Dialog)
        return static_cast<QWidget*>(window->dialogWidget);
    if (window->kind == Window::Kind::Control)
        return static_cast<QWidget*>(window->controlWidget);
    return window->frame->clientArea();
}

} // namespace user32
