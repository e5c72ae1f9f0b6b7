// Any bytes as the compiled resources: registered as the program's .res, the
// menu "ZARVEN" and the dialog "PIDABOUT" looked up and their templates read
// and walked as the window layer does; the bytes are also read directly as a
// menu and as a dialog template. A refused image keeps the previous one, and
// whatever is found lies inside the registered image.
#include "platform/resources/resources.h"
#include "platform/resources/templates.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_resources: %s\n", what);
        std::abort();
    }
}

// The image now registered: the lookups point into it, so it is kept.
std::vector<std::byte> registered;

const resources::Id kMenu{resources::kTypeMenu, {}};
const resources::Id kDialog{resources::kTypeDialog, {}};

std::size_t Walk(const std::vector<resources::MenuItem>& items, int depth)
{
    Check(depth <= 16, "a menu nested deeper than the reader allows");
    std::size_t sum = 0;
    for (const resources::MenuItem& item : items) {
        sum += item.text.size() + item.id + item.separator;
        if (item.popup)
            sum += Walk(item.children, depth + 1);
        else
            Check(item.children.empty(), "a plain item with children");
    }
    return sum;
}

std::size_t Walk(const resources::DialogTemplate& dialog)
{
    std::size_t sum = dialog.title.size() + dialog.typeface.size() + dialog.pointSize;
    for (const resources::DialogControl& control : dialog.controls) {
        // The window layer makes a widget by kind and by the style's low bits.
        sum += static_cast<std::size_t>(resources::KindOf(control)) + (control.style & 0x1F);
        sum += control.text.size() + control.className.size() + static_cast<std::size_t>(control.id);
    }
    return sum;
}

void Inside(const std::optional<std::span<const std::byte>>& found)
{
    if (!found || found->empty())
        return;
    Check(found->data() >= registered.data() && found->data() + found->size() <= registered.data() + registered.size(),
          "a resource lies outside the image");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An exact copy, so a read past the end is caught.
    std::vector<std::byte> image(reinterpret_cast<const std::byte*>(data), reinterpret_cast<const std::byte*>(data) + size);
    volatile std::size_t sum = 0;
    if (auto items = resources::ReadMenu(image))
        sum = sum + Walk(*items, 0);
    if (auto layout = resources::ReadDialog(image))
        sum = sum + Walk(*layout);

    const resources::Id zarven = resources::IdFromName("ZARVEN");
    const resources::Id pidabout = resources::IdFromName("PIDABOUT");

    const auto menuBefore = resources::Find(kMenu, zarven);
    const auto dialogBefore = resources::Find(kDialog, pidabout);
    if (resources::RegisterImage(image)) {
        registered.swap(image); // the buffer moves with its contents
    } else {
        auto same = [](const auto& a, const auto& b) {
            return a.has_value() == b.has_value() && (!a || (a->data() == b->data() && a->size() == b->size()));
        };
        Check(same(resources::Find(kMenu, zarven), menuBefore), "a refused image changed the menu");
        Check(same(resources::Find(kDialog, pidabout), dialogBefore), "a refused image changed the dialog");
    }

    const auto menu = resources::Find(kMenu, zarven);
    Inside(menu);
    if (menu)
        if (auto items = resources::ReadMenu(*menu))
            sum = sum + Walk(*items, 0);
    const auto dialog = resources::Find(kDialog, pidabout);
    Inside(dialog);
    if (dialog)
        if (auto layout = resources::ReadDialog(*dialog))
            sum = sum + Walk(*layout);
    // A numbered resource, as MAKEINTRESOURCE names give.
    Inside(resources::Find(kDialog, resources::IdFromName(reinterpret_cast<LPCSTR>(std::uintptr_t{1}))));
    return 0;
}
