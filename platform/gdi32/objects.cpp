// The handle table. A handle's value is (generation << 32) | (slot + 1): a
// slot reused by a new object gets a new generation, so the old handle stays
// refused. Slots live in a deque, so an object does not move while a call
// holds it. The layer is used from the window thread only.
#include "objects.h"

#include <deque>
#include <vector>

namespace gdi32 {

namespace {

struct Slot {
    std::uint32_t generation = 1;
    Object object;
};

constexpr int kStockCount = NULL_PEN + 1;

class Table {
public:
    Table()
    {
        const auto brush = [this](std::uint32_t color, bool null = false) {
            return add(Kind::Brush, Brush{null, color}, true);
        };
        const auto pen = [this](std::uint32_t color, bool null = false) {
            return add(Kind::Pen, Pen{nullptr, null, color}, true);
        };
        stock_[WHITE_BRUSH] = brush(0xFFFFFF);
        stock_[LTGRAY_BRUSH] = brush(0xC0C0C0);
        stock_[GRAY_BRUSH] = brush(0x808080);
        stock_[DKGRAY_BRUSH] = brush(0x404040);
        stock_[BLACK_BRUSH] = brush(0x000000);
        stock_[NULL_BRUSH] = brush(0x000000, true);
        stock_[WHITE_PEN] = pen(0xFFFFFF);
        stock_[BLACK_PEN] = pen(0x000000);
        stock_[NULL_PEN] = pen(0x000000, true);
        // Memory contexts start on a 1x1 bitmap of their own kind.
        defaultBitmap_ = add(Kind::Bitmap, Bitmap{std::make_shared<PixelBuffer>(1, 1, 0x000000)}, true);
    }

    HGDIOBJ add(Kind kind, decltype(Object::value) value, bool stock = false)
    {
        std::uint32_t index;
        if (!free_.empty()) {
            index = free_.back();
            free_.pop_back();
        } else {
            index = static_cast<std::uint32_t>(slots_.size());
            slots_.emplace_back();
        }
        Slot& slot = slots_[index];
        slot.object.kind = kind;
        slot.object.stock = stock;
        slot.object.deletePending = false;
        slot.object.selectCount = 0;
        slot.object.value = std::move(value);
        if (!stock)
            ++live_[static_cast<std::size_t>(kind)];
        return handleOf(index, slot.generation);
    }

    Object* find(const void* h)
    {
        const auto value = reinterpret_cast<std::uintptr_t>(h);
        const std::uint64_t index = (value & 0xFFFFFFFFu) - 1;
        if (index >= slots_.size())
            return nullptr;
        Slot& slot = slots_[index];
        if (slot.generation != (static_cast<std::uint64_t>(value) >> 32) || slot.object.kind == Kind::Free)
            return nullptr;
        return &slot.object;
    }

    void destroy(const void* h)
    {
        Object* object = find(h);
        if (!object || object->stock)
            return;
        const auto index = static_cast<std::uint32_t>((reinterpret_cast<std::uintptr_t>(h) & 0xFFFFFFFFu) - 1);
        --live_[static_cast<std::size_t>(object->kind)];
        // Move the value out first: a context's destructor may release others.
        auto value = std::move(object->value);
        object->value = std::monostate{};
        object->kind = Kind::Free;
        Slot& slot = slots_[index];
        slot.generation = slot.generation == 0x7FFFFFFFu ? 1 : slot.generation + 1;
        free_.push_back(index);
    }

    HGDIOBJ stock(int index) const { return index >= 0 && index < kStockCount ? stock_[index] : nullptr; }
    HGDIOBJ defaultBitmap() const { return defaultBitmap_; }
    int live(Kind kind) const { return live_[static_cast<std::size_t>(kind)]; }

private:
    static HGDIOBJ handleOf(std::uint32_t index, std::uint32_t generation)
    {
        const std::uint64_t value = (static_cast<std::uint64_t>(generation) << 32) | (index + 1u);
        return reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(value));
    }

    std::deque<Slot> slots_;
    std::vector<std::uint32_t> free_;
    HGDIOBJ stock_[kStockCount] = {};
    HGDIOBJ defaultBitmap_ = nullptr;
    int live_[static_cast<std::size_t>(Kind::DeviceContext) + 1] = {};
};

Table& table()
{
    static Table instance;
    return instance;
}

} // namespace

Object* FindAny(const void* h)
{
    return table().find(h);
}

Object* Find(const void* h, Kind kind)
{
    Object* object = table().find(h);
    return object && object->kind == kind ? object : nullptr;
}

DeviceContext* FindDC(HDC hdc)
{
    return FindAs<DeviceContext>(hdc, Kind::DeviceContext);
}

HGDIOBJ Register(Kind kind, decltype(Object::value) value)
{
    return table().add(kind, std::move(value));
}

void Destroy(const void* h)
{
    table().destroy(h);
}

HGDIOBJ Stock(int index)
{
    return table().stock(index);
}

HGDIOBJ DefaultBitmap()
{
    return table().defaultBitmap();
}

void Hold(HGDIOBJ h)
{
    if (Object* object = table().find(h); object && !object->stock)
        ++object->selectCount;
}

void Release(HGDIOBJ h)
{
    Object* object = table().find(h);
    if (!object || object->stock)
        return;
    if (--object->selectCount == 0 && object->deletePending)
        table().destroy(h);
}

LiveObjects LiveObjectCounts()
{
    const Table& objects = table();
    return {objects.live(Kind::Pen), objects.live(Kind::Brush), objects.live(Kind::Bitmap),
            objects.live(Kind::DeviceContext)};
}

} // namespace gdi32
