// The key state table behind GetKeyState, and TranslateMessage, which turns
// the key message last taken into the characters it typed.
#include "key_state.h"

#include "../codepage/codepage.h"
#include "../fixme.h"

#include <array>
#include <utility>

namespace user32 {
namespace {

constexpr BYTE kDown = 0x80;
constexpr BYTE kToggled = 0x01;

std::array<BYTE, 256> keys{};

// The keys that mouse messages report in their MK_ flags.
constexpr std::pair<int, WORD> kMouseKeys[] = {{VK_LBUTTON, MK_LBUTTON},   {VK_RBUTTON, MK_RBUTTON},
                                               {VK_MBUTTON, MK_MBUTTON},   {VK_XBUTTON1, MK_XBUTTON1},
                                               {VK_XBUTTON2, MK_XBUTTON2}, {VK_SHIFT, MK_SHIFT},
                                               {VK_CONTROL, MK_CONTROL}};

// The key message last taken and its characters.
MSG lastKey{};
std::u16string lastText;

void setDown(int vk, bool down)
{
    keys[static_cast<std::size_t>(vk)] =
        static_cast<BYTE>((keys[static_cast<std::size_t>(vk)] & ~kDown) | (down ? kDown : 0));
}

bool isKeyMessage(UINT message)
{
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

} // namespace

void TakeInputState(const MSG& msg, const InputState& state)
{
    for (auto [vk, flag] : kMouseKeys)
        setDown(vk, (state.mouseKeys & flag) != 0);
    setDown(VK_MENU, state.alt);
    if (!isKeyMessage(msg.message))
        return;
    // The key's own change comes last: a modifier's press may not count
    // itself among the modifiers held.
    auto vk = static_cast<std::size_t>(msg.wParam & 0xFF);
    bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    if (down && !(keys[vk] & kDown))
        keys[vk] ^= kToggled;
    setDown(static_cast<int>(vk), down);
    lastKey = msg;
    lastText = state.text;
}

WORD MouseKeysNow()
{
    WORD flags = 0;
    for (auto [vk, flag] : kMouseKeys) {
        if (keys[static_cast<std::size_t>(vk)] & kDown)
            flags |= flag;
    }
    return flags;
}

} // namespace user32

using namespace user32;

SHORT WINAPI GetKeyState(int nVirtKey)
{
    if (nVirtKey >= VK_LSHIFT && nVirtKey <= VK_RMENU) {
        // Left and right are not told apart: either side answers.
        layer::Fixme("GetKeyState: left and right modifier keys (0x%x) are not told apart", nVirtKey);
        nVirtKey = VK_SHIFT + (nVirtKey - VK_LSHIFT) / 2;
    }
    if (nVirtKey < 0 || nVirtKey > 0xFF)
        return 0;
    BYTE state = keys[static_cast<std::size_t>(nVirtKey)];
    return static_cast<SHORT>(((state & kDown) ? 0xFF80 : 0) | (state & kToggled));
}

// Posts WM_CHAR (WM_SYSCHAR with Alt) for each code page 932 byte of what the
// key typed, as an ANSI window gets its characters, right after the key.
BOOL WINAPI TranslateMessage(const MSG* lpMsg)
{
    if (lpMsg == nullptr || !isKeyMessage(lpMsg->message))
        return FALSE;
    bool sameKey = lpMsg->hwnd == lastKey.hwnd && lpMsg->message == lastKey.message &&
                   lpMsg->wParam == lastKey.wParam && lpMsg->lParam == lastKey.lParam;
    if (sameKey && !lastText.empty() && (lpMsg->message == WM_KEYDOWN || lpMsg->message == WM_SYSKEYDOWN)) {
        UINT charMessage = lpMsg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
        for (char byte : codepage::FromUtf16(lastText))
            PostMessageA(lpMsg->hwnd, charMessage, static_cast<unsigned char>(byte), lpMsg->lParam);
    }
    return TRUE;
}
