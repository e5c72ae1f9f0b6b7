// Menu and dialog templates as the resource compiler lays them out: little-
// endian words, UTF-16 strings, numbers written as 0xFFFF followed by the
// number, dialog items aligned to four bytes.
#include "templates.h"

#include <cstring>

namespace resources {
namespace {

class Reader {
public:
    explicit Reader(std::span<const std::byte> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    std::size_t at() const { return at_; }

    WORD word() { return static_cast<WORD>(take(2)); }
    DWORD dword() { return static_cast<DWORD>(take(4)); }
    short shortValue() { return static_cast<short>(word()); }
    void skip(std::size_t count)
    {
        if (bytes_.size() - at_ < count)
            ok_ = false;
        else
            at_ += count;
    }
    void alignTo4()
    {
        std::size_t next = (at_ + 3) & ~static_cast<std::size_t>(3);
        // The last item's padding may be missing at the end of the data.
        at_ = next < bytes_.size() ? next : bytes_.size();
    }
    std::u16string string()
    {
        std::u16string text;
        for (WORD unit = word(); ok_ && unit != 0; unit = word())
            text.push_back(static_cast<char16_t>(unit));
        return text;
    }
    // A number (0xFFFF, number), or a string; 0x0000 alone is empty.
    void numberOrString(WORD& number, std::u16string& text)
    {
        if (peekWord() == 0xFFFF) {
            word();
            number = word();
        } else {
            text = string();
        }
    }

private:
    WORD peekWord() const
    {
        if (bytes_.size() - at_ < 2)
            return 0;
        WORD value;
        std::memcpy(&value, bytes_.data() + at_, 2);
        return value;
    }
    DWORD take(std::size_t count)
    {
        if (!ok_ || bytes_.size() - at_ < count) {
            ok_ = false;
            return 0;
        }
        DWORD value = 0;
        std::memcpy(&value, bytes_.data() + at_, count);
        at_ += count;
        return value;
    }

    std::span<const std::byte> bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

constexpr WORD kMfPopup = 0x0010;
constexpr WORD kMfEnd = 0x0080;
constexpr WORD kMfSeparator = 0x0800;
// The item's state: MF_GRAYED, MF_DISABLED and MF_CHECKED, in both kinds of
// template.
constexpr WORD kMfState = 0x0001 | 0x0002 | 0x0008;
constexpr DWORD kDsSetFont = 0x40;
constexpr DWORD kDsShellFont = 0x48;
constexpr int kMaxDepth = 8;

bool readItems(Reader& reader, std::vector<MenuItem>& items, int depth)
{
    if (depth > kMaxDepth)
        return false;
    for (;;) {
        WORD flags = reader.word();
        MenuItem item;
        if (!(flags & kMfPopup))
            item.id = reader.word();
        item.text = reader.string();
        if (!reader.ok())
            return false;
        item.popup = (flags & kMfPopup) != 0;
        item.separator = !item.popup && ((flags & kMfSeparator) || (item.id == 0 && item.text.empty()));
        item.state = flags & kMfState;
        if (item.popup && !readItems(reader, item.children, depth + 1))
            return false;
        items.push_back(std::move(item));
        if (flags & kMfEnd)
            return true;
    }
}

bool readItemsEx(Reader& reader, std::vector<MenuItem>& items, int depth)
{
    if (depth > kMaxDepth)
        return false;
    for (;;) {
        DWORD type = reader.dword();
        DWORD state = reader.dword();
        DWORD id = reader.dword();
        WORD flags = reader.word(); // 0x01 popup, 0x80 last
        MenuItem item;
        item.text = reader.string();
        reader.alignTo4();
        if (!reader.ok())
            return false;
        item.id = static_cast<WORD>(id);
        item.popup = (flags & 0x01) != 0;
        item.separator = (type & kMfSeparator) != 0;
        item.state = static_cast<WORD>(state & kMfState);
        if (item.popup) {
            reader.dword(); // help id
            if (!readItemsEx(reader, item.children, depth + 1))
                return false;
        }
        items.push_back(std::move(item));
        if (flags & kMfEnd)
            return true;
    }
}

} // namespace

std::optional<std::vector<MenuItem>> ReadMenu(std::span<const std::byte> data)
{
    Reader reader(data);
    WORD version = reader.word();
    WORD offset = reader.word();
    std::vector<MenuItem> items;
    if (!reader.ok())
        return std::nullopt;
    if (version == 0) {
        reader.skip(offset);
        if (!readItems(reader, items, 0))
            return std::nullopt;
    } else if (version == 1) {
        // The offset counts from the end of the version word.
        reader.skip(offset >= 2 ? offset - 2u : 0u);
        if (!readItemsEx(reader, items, 0))
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    return items;
}

ControlKind KindOf(const DialogControl& control)
{
    if (control.className.empty()) {
        if (control.classAtom == 0x80)
            return ControlKind::Button;
        if (control.classAtom == 0x81)
            return ControlKind::Edit;
        if (control.classAtom == 0x82)
            return ControlKind::Static;
        return ControlKind::Other;
    }
    std::u16string name;
    for (char16_t c : control.className)
        name.push_back((c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c);
    if (name == u"BUTTON")
        return ControlKind::Button;
    if (name == u"EDIT")
        return ControlKind::Edit;
    if (name == u"STATIC")
        return ControlKind::Static;
    return ControlKind::Other;
}

std::optional<DialogTemplate> ReadDialog(std::span<const std::byte> data)
{
    Reader reader(data);
    DialogTemplate dialog;
    WORD version = reader.word();
    WORD signature = reader.word();
    bool extended = version == 1 && signature == 0xFFFF;
    WORD count;
    if (extended) {
        reader.dword(); // help id
        dialog.exStyle = reader.dword();
        dialog.style = reader.dword();
    } else {
        dialog.style = static_cast<DWORD>(version) | (static_cast<DWORD>(signature) << 16);
        dialog.exStyle = reader.dword();
    }
    count = reader.word();
    dialog.x = reader.shortValue();
    dialog.y = reader.shortValue();
    dialog.cx = reader.shortValue();
    dialog.cy = reader.shortValue();
    WORD ignoredNumber = 0;
    std::u16string ignoredText;
    reader.numberOrString(ignoredNumber, ignoredText); // menu
    reader.numberOrString(ignoredNumber, ignoredText); // window class
    dialog.title = reader.string();
    if ((dialog.style & kDsSetFont) || (dialog.style & kDsShellFont) == kDsShellFont) {
        dialog.pointSize = reader.word();
        if (extended) {
            reader.word(); // weight
            reader.skip(2); // italic, character set
        }
        dialog.typeface = reader.string();
    }
    for (WORD i = 0; i < count && reader.ok(); ++i) {
        reader.alignTo4();
        DialogControl control;
        if (extended) {
            reader.dword(); // help id
            control.exStyle = reader.dword();
            control.style = reader.dword();
        } else {
            control.style = reader.dword();
            control.exStyle = reader.dword();
        }
        control.x = reader.shortValue();
        control.y = reader.shortValue();
        control.cx = reader.shortValue();
        control.cy = reader.shortValue();
        control.id = extended ? static_cast<int>(reader.dword()) : static_cast<short>(reader.word());
        reader.numberOrString(control.classAtom, control.className);
        WORD textNumber = 0;
        reader.numberOrString(textNumber, control.text);
        WORD extra = reader.word();
        reader.skip(extra);
        if (reader.ok())
            dialog.controls.push_back(std::move(control));
    }
    if (!reader.ok())
        return std::nullopt;
    return dialog;
}

} // namespace resources
