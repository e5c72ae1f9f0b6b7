// Dialog controls by identifier, the text calls on them, and the focus.
#include "dialog_items.h"

#include "../codepage/codepage.h"
#include "frame.h"
#include "window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>

#include <cstring>

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

// Static texts, buttons and edit boxes show the text; an etched frame takes
// it unseen.
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
    else if (auto* edit = qobject_cast<QLineEdit*>(item))
        edit->setText(text);
    return TRUE;
}

// The text as code page 932, cut to the buffer on a whole character; the
// count of bytes copied, without the terminator.
UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax)
{
    QWidget* item = FindDialogItem(hDlg, nIDDlgItem);
    if (lpString != nullptr && cchMax > 0)
        lpString[0] = '\0';
    if (item == nullptr) {
        SetLastError(FindWindowObject(hDlg) == nullptr ? ERROR_INVALID_WINDOW_HANDLE : ERROR_CONTROL_ID_NOT_FOUND);
        return 0;
    }
    QString text;
    if (auto* label = qobject_cast<QLabel*>(item))
        text = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(item))
        text = button->text();
    else if (auto* edit = qobject_cast<QLineEdit*>(item))
        text = edit->text();
    if (lpString == nullptr || cchMax <= 0)
        return 0;
    std::string bytes = codepage::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                                static_cast<std::size_t>(text.size())));
    std::size_t count = 0, limit = static_cast<std::size_t>(cchMax - 1);
    while (count < bytes.size()) {
        std::size_t next = count + (codepage::IsLeadByte(static_cast<unsigned char>(bytes[count])) ? 2 : 1);
        if (next > limit || next > bytes.size())
            break;
        count = next;
    }
    std::memcpy(lpString, bytes.data(), count);
    lpString[count] = '\0';
    return static_cast<UINT>(count);
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
