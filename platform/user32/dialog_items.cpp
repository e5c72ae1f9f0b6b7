// Dialog controls by identifier, the text calls on them, and the focus.
#include "dialog_items.h"

#include "../codepage/codepage.h"
#include "frame.h"
#include "window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>

namespace user32 {
namespace {

constexpr const char* kItemIdProperty = "pidviewDialogItemId";
constexpr const char* kItemHandleProperty = "pidviewDialogItemHandle";

HWND handleOf(const QWidget* widget)
{
    QVariant tag = widget != nullptr ? widget->property(kItemHandleProperty) : QVariant();
    return tag.isValid() ? reinterpret_cast<HWND>(tag.value<quintptr>()) : nullptr;
}

} // namespace

void TagDialogItem(QWidget* widget, int id, HWND hwnd)
{
    widget->setProperty(kItemIdProperty, id);
    widget->setProperty(kItemHandleProperty, QVariant::fromValue(reinterpret_cast<quintptr>(hwnd)));
}

QWidget* FindDialogItem(QWidget* dialog, int id)
{
    for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QVariant tag = child->property(kItemIdProperty);
        if (tag.isValid() && tag.toInt() == id)
            return child;
    }
    return nullptr;
}

QWidget* FindDialogItem(HWND hDlg, int id)
{
    Window* window = FindWindowObject(hDlg);
    if (window == nullptr || window->kind != Window::Kind::Dialog || window->dialogWidget == nullptr)
        return nullptr;
    return FindDialogItem(static_cast<QDialog*>(window->dialogWidget), id);
}

} // namespace user32

using namespace user32;

// Static texts and buttons show the text; an etched frame takes it unseen.
BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString)
{
    QWidget* item = FindDialogItem(hDlg, nIDDlgItem);
    if (item == nullptr) {
        SetLastError(FindWindowObject(hDlg) == nullptr ? ERROR_INVALID_WINDOW_HANDLE : ERROR_CONTROL_ID_NOT_FOUND);
        return FALSE;
    }
    std::u16string wide = codepage::ToUtf16(lpString != nullptr ? lpString : "");
    QString text = QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
    if (auto* label = qobject_cast<QLabel*>(item))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(item))
        button->setText(text);
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    QWidget* item = FindDialogItem(hDlg, nIDDlgItem);
    if (item == nullptr) {
        SetLastError(FindWindowObject(hDlg) == nullptr ? ERROR_INVALID_WINDOW_HANDLE : ERROR_CONTROL_ID_NOT_FOUND);
        return nullptr;
    }
    return handleOf(item);
}

// A control of a dialog not shown yet (in WM_INITDIALOG) gets the focus
// when its dialog is shown.
HWND WINAPI SetFocus(HWND hWnd)
{
    HWND previous = handleOf(QApplication::focusWidget());
    if (hWnd == nullptr) {
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus(); // keys go nowhere
        return previous;
    }
    QWidget* widget = ClientWidget(hWnd);
    if (widget == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    widget->setFocus(Qt::OtherFocusReason);
    return previous;
}
