// The keys' messages from Qt's key events: the virtual-key code, and in
// lParam the repeat count, the scan code, the extended-key flag, Alt and the
// previous and new state; WM_SYSKEYDOWN while Alt is held without Ctrl, and
// for F10.
#include "client_input.h"

#include "../fixme.h"
#include "messages.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>

#include <algorithm>
#include <span>
#include <utility>

namespace user32 {
namespace {

// Keys named by Qt that keep their place whatever the layout.
constexpr std::pair<int, int> kNamedKeys[] = {
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR},     {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},     {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},
    {Qt::Key_AltGr, VK_MENU},      {Qt::Key_Pause, VK_PAUSE},     {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},   {Qt::Key_Space, VK_SPACE},     {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},   {Qt::Key_End, VK_END},         {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},       {Qt::Key_Up, VK_UP},           {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},       {Qt::Key_Print, VK_SNAPSHOT},  {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},   {Qt::Key_Help, VK_HELP},       {Qt::Key_Meta, VK_LWIN},
    {Qt::Key_Super_L, VK_LWIN},    {Qt::Key_Super_R, VK_RWIN},    {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK}, {Qt::Key_ScrollLock, VK_SCROLL},
};

// The punctuation keys, by either of the characters they type on a US
// keyboard, as Windows names them there.
constexpr std::pair<int, int> kPunctuation[] = {
    {Qt::Key_Plus, VK_OEM_PLUS},         {Qt::Key_Equal, VK_OEM_PLUS},     {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS},  {Qt::Key_Comma, VK_OEM_COMMA},    {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Period, VK_OEM_PERIOD},     {Qt::Key_Greater, VK_OEM_PERIOD}, {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Colon, VK_OEM_1},           {Qt::Key_Slash, VK_OEM_2},        {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3},       {Qt::Key_AsciiTilde, VK_OEM_3},   {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4},       {Qt::Key_Backslash, VK_OEM_5},    {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6},    {Qt::Key_BraceRight, VK_OEM_6},   {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7},
};

// The digit row with Shift on a US keyboard, when the key's place is unknown.
constexpr std::pair<int, int> kShiftedDigits[] = {
    {Qt::Key_Exclam, '1'},    {Qt::Key_At, '2'},        {Qt::Key_NumberSign, '3'}, {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},   {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'}, {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'}, {Qt::Key_ParenRight, '0'},
};

// The keypad's keys as Qt names them with KeypadModifier.
constexpr std::pair<int, int> kKeypad[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},    {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Period, VK_DECIMAL},    {Qt::Key_Comma, VK_DECIMAL}, {Qt::Key_Slash, VK_DIVIDE},
};

int Lookup(std::span<const std::pair<int, int>> table, int key)
{
    auto found = std::find_if(table.begin(), table.end(), [key](const auto& entry) { return entry.first == key; });
    return found != table.end() ? found->second : 0;
}

// The Linux input code of the key (the X key code less 8), 0 when unknown
// (Qt's offscreen platform gives none).
int InputCodeOf(const QKeyEvent& event)
{
    quint32 native = event.nativeScanCode();
    return native > 8 && native < 256 ? static_cast<int>(native) - 8 : 0;
}

int VirtualKeyOf(const QKeyEvent& event)
{
    int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return VK_NUMPAD0 + (key - Qt::Key_0);
        if (int vk = Lookup(kKeypad, key))
            return vk;
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key; // Qt's codes for them are the ASCII upper case, as the virtual keys are
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + (key - Qt::Key_F1);
    if (int vk = Lookup(kNamedKeys, key))
        return vk;
    // A digit key with Shift types a symbol that depends on the layout:
    // its place on the keyboard tells the digit.
    int code = InputCodeOf(event);
    if (code >= 2 && code <= 11)
        return code == 11 ? '0' : '0' + (code - 1);
    if (int vk = Lookup(kPunctuation, key))
        return vk;
    return Lookup(kShiftedDigits, key);
}

// The PC keyboard's scan code and whether it is an extended key: the same
// number as the Linux input code up to F12, a table for the keys beyond.
std::pair<int, bool> ScanCodeOf(const QKeyEvent& event)
{
    static constexpr std::pair<int, int> extended[] = {
        {96, 0x1C},  {97, 0x1D},  {98, 0x35},  {100, 0x38}, {102, 0x47}, {103, 0x48}, {104, 0x49}, {105, 0x4B},
        {106, 0x4D}, {107, 0x4F}, {108, 0x50}, {109, 0x51}, {110, 0x52}, {111, 0x53}, {125, 0x5B}, {127, 0x5D},
    };
    int code = InputCodeOf(event);
    if (code > 0 && code <= 88)
        return {code, false};
    int scan = Lookup(extended, code);
    return {scan, scan != 0};
}

} // namespace

bool KeyEvent(HWND hwnd, QKeyEvent* event)
{
    bool press = event->type() == QEvent::KeyPress;
    // Windows repeats a held key by its presses alone.
    if (!press && event->isAutoRepeat())
        return true;
    int vk = VirtualKeyOf(*event);
    if (vk == 0) {
        layer::Fixme("key 0x%x has no virtual-key code", static_cast<unsigned>(event->key()));
        return false;
    }
    Qt::KeyboardModifiers modifiers = event->modifiers();
    bool alt = (modifiers & Qt::AltModifier) || vk == VK_MENU;
    bool control = (modifiers & Qt::ControlModifier) || vk == VK_CONTROL;
    bool system = (alt && !control) || vk == VK_F10;
    UINT message = press ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);

    auto [scan, extendedKey] = ScanCodeOf(*event);
    DWORD repeat = press ? static_cast<DWORD>(std::clamp(event->count(), 1, 0xFFFF)) : 1;
    DWORD flags = repeat | (static_cast<DWORD>(scan & 0xFF) << 16) | (extendedKey ? 1u << 24 : 0) |
                  (system && alt ? 1u << 29 : 0) | (!press || event->isAutoRepeat() ? 1u << 30 : 0) |
                  (press ? 0 : 1u << 31);
    InputState state = StateOf(*event, QGuiApplication::mouseButtons());
    if (press)
        state.text = event->text().toStdU16String();
    QPoint pointer = QCursor::pos();
    PostInput(hwnd, message, static_cast<WPARAM>(vk), static_cast<LPARAM>(flags), POINT{pointer.x(), pointer.y()},
              std::move(state));
    return true;
}

} // namespace user32
