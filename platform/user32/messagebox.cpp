// MessageBoxA over QMessageBox: caption, text, icon and buttons of the type.
#include "../codepage/codepage.h"
#include "eventloop.h"
#include "frame.h"
#include "window.h"

#include <QMessageBox>
#include <QPushButton>

using namespace user32;

namespace {

QString fromCodePage(LPCSTR text)
{
    std::u16string wide = codepage::ToUtf16(text != nullptr ? text : "");
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

QMessageBox::Icon iconOf(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

struct Choice {
    QMessageBox::StandardButton button;
    int result;
};

std::vector<Choice> choicesOf(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL: return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default: return {{QMessageBox::Ok, IDOK}};
    }
}

} // namespace

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    if (hWnd != nullptr && FindWindowObject(hWnd) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    QWidget* owner = hWnd != nullptr ? OwnerWidget(hWnd) : nullptr;
    QMessageBox box(iconOf(uType), lpCaption != nullptr ? fromCodePage(lpCaption) : QStringLiteral("Error"),
                    fromCodePage(lpText), QMessageBox::NoButton, owner);
    std::vector<Choice> choices = choicesOf(uType);
    for (const Choice& choice : choices)
        box.addButton(choice.button);
    box.setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    box.show();
    RunModalLoop(hWnd, [&box] { return !box.isVisible(); });

    auto* clicked = box.clickedButton();
    QMessageBox::StandardButton pressed = clicked != nullptr ? box.standardButton(clicked) : QMessageBox::NoButton;
    for (const Choice& choice : choices) {
        if (choice.button == pressed)
            return choice.result;
    }
    // Closed without a button (Escape): Cancel if there is one, else the only button.
    for (const Choice& choice : choices) {
        if (choice.result == IDCANCEL)
            return IDCANCEL;
    }
    return choices.size() == 1 ? choices.front().result : IDCANCEL;
}
