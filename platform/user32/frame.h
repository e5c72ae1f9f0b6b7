// The screen side of a top-level window: a fixed-size Qt window holding the
// menu bar and a client area that shows the window's pixel buffer.
#pragma once

#include "window.h"

#include <memory>
#include <string>

class QWidget;

namespace user32 {

class Frame {
public:
    // x or y of -1: the position is the window system's choice.
    Frame(HWND hwnd, std::shared_ptr<gdi32::PixelBuffer> client, const std::u16string& title, const Menu* menu,
          DWORD style, int x, int y);
    ~Frame();
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    void show(int showCommand);
    void hide();
    // Shows a menu item's state (MF_GRAYED, MF_DISABLED, MF_CHECKED).
    void showItemState(WORD id, WORD state);
    // Copies that part of the buffer to the screen at the next chance.
    void showPixels(const RECT& rect);

    QWidget* window() const;     // the top-level widget, owner of dialogs
    QWidget* clientArea() const; // the widget whose origin is the client origin

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// The Qt widget of a top-level window or dialog, for owning dialogs.
QWidget* OwnerWidget(HWND hwnd);
// Shows the title in the title bar of a top-level window or dialog.
void SetTitle(HWND hwnd, const std::u16string& title);
// The widget whose top-left corner is the window's client origin.
QWidget* ClientWidget(HWND hwnd);

} // namespace user32
