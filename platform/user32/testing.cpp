// Test support over Qt.
#include "testing.h"

#include "dialog_items.h"
#include "dialogfont.h"
#include "frame.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QWindow>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace user32::testing {

namespace {
void chooseOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

std::u16string toUtf16(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}
} // namespace

Application::Application(int& argc, char** argv)
{
    chooseOffscreen();
    application_ = std::make_unique<QApplication>(argc, argv);
}

Application::~Application() = default;

void AfterMilliseconds(int milliseconds, std::function<void()> action)
{
    QTimer::singleShot(milliseconds, std::move(action));
}

bool PressKey(Key key)
{
    QWidget* target =
        QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : QApplication::activeModalWidget();
    if (target == nullptr)
        return false;
    static const int codes[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space, Qt::Key_Tab};
    int code = codes[static_cast<int>(key)];
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, code, Qt::NoModifier));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, code, Qt::NoModifier));
    return true;
}

std::u16string ModalBoxText()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr)
        return {};
    return toUtf16(box->text());
}

std::u16string WindowTitle(HWND hwnd)
{
    QWidget* widget = OwnerWidget(hwnd);
    return widget != nullptr ? toUtf16(widget->windowTitle()) : std::u16string();
}

bool DropUriList(HWND hwnd, const std::string& uriList)
{
    // Through the window, as a real drop comes, to the widget under the point.
    QWidget* widget = OwnerWidget(hwnd);
    QWindow* window = widget != nullptr ? widget->windowHandle() : nullptr;
    if (window == nullptr)
        return false;
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), QByteArray(uriList.data(), static_cast<qsizetype>(uriList.size())));
    QPoint middle(widget->width() / 2, widget->height() / 2);
    QDragEnterEvent enter(middle, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    if (!enter.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(window, &leave);
        return false;
    }
    QDropEvent drop(middle, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

namespace {
QWidget* openDialogItem(int id)
{
    QWidget* dialog = QApplication::activeModalWidget();
    return dialog != nullptr ? FindDialogItem(dialog, id) : nullptr;
}
} // namespace

std::u16string DialogItemText(int id)
{
    auto* label = qobject_cast<QLabel*>(openDialogItem(id));
    return label != nullptr ? toUtf16(label->text()) : std::u16string();
}

bool ClickDialogButton(int id)
{
    auto* button = qobject_cast<QPushButton*>(openDialogItem(id));
    if (button != nullptr)
        button->click();
    return button != nullptr;
}

std::u16string ClipboardText()
{
    return toUtf16(QApplication::clipboard()->text());
}

int DialogBaseUnitX(const std::u16string& typeface, int pointSize)
{
    return BaseUnitsOf(DialogFont(QFont(), typeface, pointSize)).x;
}

int TextWidth(const std::u16string& typeface, int pointSize, const std::u16string& text)
{
    QFontMetrics metrics(DialogFont(QFont(), typeface, pointSize));
    return metrics.horizontalAdvance(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace user32::testing
