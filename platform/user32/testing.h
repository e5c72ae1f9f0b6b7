// What the layer's in-process tests need from the window system, so that the
// tests themselves stay free of Qt: an application, timers, key presses, titles
// and drops.
#pragma once

#include "../wintypes.h"

#include <functional>
#include <memory>
#include <string>

class QApplication;

namespace user32::testing {

// The window system's application for the test program's lifetime: Qt on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise.
class Application {
public:
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

private:
    std::unique_ptr<QApplication> application_;
};

// Runs action from the event loop after the delay (inside GetMessageA's or a
// modal loop's wait).
void AfterMilliseconds(int milliseconds, std::function<void()> action);

enum class Key { Return, Escape, Space, Tab };
// Sends the key to the focused widget (or the active modal window).
bool PressKey(Key key);

// The text of the message box now open, or empty when there is none.
std::u16string ModalBoxText();

// The title a window shows.
std::u16string WindowTitle(HWND hwnd);

// Drags a text/uri-list onto the middle of a shown window and drops it there,
// as a file manager does; true when the window took the drop.
bool DropUriList(HWND hwnd, const std::string& uriList);

// The text of the control with the identifier in the dialog box now open,
// and a click on its push button; empty and false when there is none.
std::u16string DialogItemText(int id);
bool ClickDialogButton(int id);

// The text on the system's clipboard.
std::u16string ClipboardText();

// Dialog base unit width and a text's width in pixels for a template face at
// a point size, as the dialog manager lays them out.
int DialogBaseUnitX(const std::u16string& typeface, int pointSize);
int TextWidth(const std::u16string& typeface, int pointSize, const std::u16string& text);

} // namespace user32::testing
