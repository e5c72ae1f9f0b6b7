// Dialog controls by identifier, and the text calls on them.
#include "dialog_items.h"

#include "../codepage/codepage.h"
#include "window.h"

#include <QAbstractButton>
#include <QDialog>
#include <QLabel>

namespace user32 {
namespace {

constexpr const char* kItemIdProperty = "pidviewDialogItemId";

} // namespace

void TagDialogItem(QWidget* widget, int id)
{
    widget->setProperty(kItemIdProperty, id);
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
