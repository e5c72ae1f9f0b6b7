// Modal dialog boxes built from dialog templates: the dialog frame, push
// buttons, one-line edit boxes, static texts and etched frames, laid out in
// dialog units of the template's font, with the keyboard of a dialog
// (Enter, Space, Escape, Tab).
#include "dialog_items.h"
#include "dialogfont.h"
#include "eventloop.h"
#include "frame.h"
#include "window.h"

#include "../fixme.h"
#include "../resources/resources.h"

#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace user32;

namespace {

QString toQt(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

class TemplateDialog : public QDialog {
public:
    TemplateDialog(HWND hwnd, QWidget* owner) : QDialog(owner), hwnd_(hwnd) {}

    void command(int id)
    {
        if (Window* window = FindWindowObject(hwnd_))
            Deliver(*window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }

    // Space on the focused button clicks it (Qt's buttons do that).
    void addButton(QPushButton* button, int id)
    {
        buttons_.push_back({button, id});
        connect(button, &QPushButton::clicked, this, [this, id] { command(id); });
    }

    void reject() override {} // only the dialog procedure ends the dialog

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // Enter means the focused push button, else the default one
            // (which the procedure may tell otherwise), else OK.
            for (auto& [button, id] : buttons_) {
                if (button->hasFocus()) {
                    command(id);
                    return;
                }
            }
            LRESULT defaultId = SendMessageA(hwnd_, DM_GETDEFID, 0, 0);
            command(HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK);
            return;
        }
        case Qt::Key_Escape:
            command(IDCANCEL);
            return;
        default:
            QDialog::keyPressEvent(event);
        }
    }

    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        command(IDCANCEL);
    }

private:
    HWND hwnd_;
    std::vector<std::pair<QPushButton*, int>> buttons_;
};

QWidget* makeControl(TemplateDialog& dialog, const resources::DialogControl& control)
{
    DWORD type = control.style & 0x1F;
    switch (resources::KindOf(control)) {
    case resources::ControlKind::Button: {
        auto* button = new QPushButton(toQt(control.text), &dialog);
        button->setAutoDefault(false);
        button->setDefault(type == BS_DEFPUSHBUTTON);
        button->setFocusPolicy((control.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
        dialog.addButton(button, control.id);
        return button;
    }
    case resources::ControlKind::Edit: {
        // A box of one line; Enter and Escape, which it does not take, go on
        // to the dialog as they do in a dialog box.
        auto* edit = new QLineEdit(toQt(control.text), &dialog);
        edit->setFocusPolicy((control.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
        edit->setFrame((control.style & WS_BORDER) != 0);
        if (control.style & ES_MULTILINE)
            layer::Fixme("an edit box of more than one line shows one");
        return edit;
    }
    case resources::ControlKind::Static:
        if (type == SS_ETCHEDFRAME) {
            auto* frame = new QFrame(&dialog);
            frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
            frame->setLineWidth(1);
            return frame;
        } else {
            auto* label = new QLabel(toQt(control.text), &dialog);
            Qt::Alignment horizontal = type == SS_CENTER ? Qt::AlignHCenter
                                       : type == SS_RIGHT ? Qt::AlignRight
                                                          : Qt::AlignLeft;
            label->setAlignment(horizontal | Qt::AlignTop);
            label->setWordWrap(type <= SS_RIGHT);
            label->setTextFormat(Qt::PlainText);
            return label;
        }
    case resources::ControlKind::Other:
        break;
    }
    return nullptr;
}

} // namespace

INT_PTR WINAPI DialogBoxParamA(HINSTANCE /*hInstance*/, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam)
{
    if (hWndParent != nullptr && FindWindowObject(hWndParent) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    if (lpTemplateName == nullptr) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    auto data = resources::Find(resources::Id{resources::kTypeDialog, {}}, resources::IdFromName(lpTemplateName));
    auto layout = data ? resources::ReadDialog(*data) : std::nullopt;
    if (!layout) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }

    auto object = std::make_unique<Window>(Window::Kind::Dialog);
    object->dialogProcedure = lpDialogFunc;
    object->style = layout->style;
    HWND hwnd = AddWindow(std::move(object));

    QWidget* owner = hWndParent != nullptr ? OwnerWidget(hWndParent) : nullptr;
    auto dialog = std::make_unique<TemplateDialog>(hwnd, owner);
    FindWindowObject(hwnd)->dialogWidget = dialog.get();
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if ((layout->style & WS_CAPTION) == WS_CAPTION)
        flags |= Qt::WindowTitleHint;
    if (layout->style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    dialog->setWindowFlags(flags);
    dialog->setWindowTitle(toQt(layout->title));
    dialog->setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);

    QFont font = DialogFont(dialog->font(), layout->typeface, layout->pointSize);
    dialog->setFont(font);
    BaseUnits units = BaseUnitsOf(font);
    dialog->setFixedSize(units.toPixelsX(layout->cx), units.toPixelsY(layout->cy));
    QWidget* firstTabStop = nullptr;
    Window* dialogWindow = FindWindowObject(hwnd);
    for (const resources::DialogControl& control : layout->controls) {
        QWidget* widget = makeControl(*dialog, control);
        if (widget == nullptr)
            continue;
        auto item = std::make_unique<Window>(Window::Kind::Control);
        item->controlWidget = widget;
        HWND itemHandle = AddWindow(std::move(item));
        dialogWindow->controls.push_back(itemHandle);
        TagDialogItem(widget, control.id, itemHandle);
        auto* button = qobject_cast<QPushButton*>(widget);
        if (button != nullptr && button->isDefault() && dialogWindow->defaultId == 0)
            dialogWindow->defaultId = control.id;
        widget->setGeometry(units.toPixelsX(control.x), units.toPixelsY(control.y), units.toPixelsX(control.cx),
                            units.toPixelsY(control.cy));
        widget->setFont(font);
        if (firstTabStop == nullptr && (control.style & WS_TABSTOP))
            firstTabStop = widget;
    }
    // The template's position counts from the owner's client origin.
    QPoint origin(units.toPixelsX(layout->x), units.toPixelsY(layout->y));
    QWidget* client = hWndParent != nullptr ? ClientWidget(hWndParent) : nullptr;
    dialog->move(client != nullptr ? client->mapToGlobal(origin) : origin);

    Window* window = FindWindowObject(hwnd);
    // TRUE from the procedure: the dialog manager sets the focus.
    bool setFocus = Deliver(*window, WM_INITDIALOG, 0, dwInitParam) != 0;
    window = FindWindowObject(hwnd);
    if (!window->dialogEnded) {
        dialog->show();
        if (setFocus && firstTabStop != nullptr) {
            firstTabStop->setFocus(Qt::OtherFocusReason);
            // The dialog manager selects the text of the box it gives the focus.
            if (auto* edit = qobject_cast<QLineEdit*>(firstTabStop))
                edit->selectAll();
        }
        RunModalLoop(hWndParent, [hwnd] {
            Window* w = FindWindowObject(hwnd);
            return w == nullptr || w->dialogEnded;
        });
    }
    window = FindWindowObject(hwnd);
    INT_PTR result = window != nullptr ? window->dialogResult : -1;
    dialog->hide();
    if (window != nullptr) {
        for (HWND item : window->controls)
            RemoveWindow(item);
    }
    dialog.reset();
    RemoveWindow(hwnd);
    return result;
}

LRESULT user32::DialogDefault(const Window& dialog, UINT message)
{
    if (message == DM_GETDEFID)
        return dialog.defaultId != 0 ? static_cast<LRESULT>(MAKELONG(dialog.defaultId, DC_HASDEFID)) : 0;
    return 0;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult)
{
    Window* window = FindWindowObject(hDlg);
    if (window == nullptr || window->kind != Window::Kind::Dialog) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    window->dialogEnded = true;
    window->dialogResult = nResult;
    return TRUE;
}
