// Walks a .res image: a sequence of entries, each a header (sizes, type, name,
// language) followed by its data, both padded to four bytes.
#include "resources.h"

#include <cstring>
#include <vector>

namespace resources {
namespace {

struct Entry {
    Id type;
    Id name;
    std::span<const std::byte> data;
};

std::vector<Entry> entries;

struct Reader {
    std::span<const std::byte> bytes;
    std::size_t at = 0;

    bool has(std::size_t count) const { return at <= bytes.size() && bytes.size() - at >= count; }
    std::optional<WORD> word()
    {
        if (!has(2))
            return std::nullopt;
        WORD value;
        std::memcpy(&value, bytes.data() + at, 2);
        at += 2;
        return value;
    }
    std::optional<DWORD> dword()
    {
        if (!has(4))
            return std::nullopt;
        DWORD value;
        std::memcpy(&value, bytes.data() + at, 4);
        at += 4;
        return value;
    }
    // A number (0xFFFF, then the number) or a zero-terminated UTF-16 string.
    std::optional<Id> id()
    {
        auto first = word();
        if (!first)
            return std::nullopt;
        Id result;
        if (*first == 0xFFFF) {
            auto number = word();
            if (!number)
                return std::nullopt;
            result.number = *number;
            return result;
        }
        for (auto unit = first; *unit != 0; unit = word()) {
            result.text.push_back(static_cast<char16_t>(*unit));
            if (!has(2))
                return std::nullopt;
        }
        return result;
    }
};

char16_t upper(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool same(const Id& a, const Id& b)
{
    if (a.text.empty() || b.text.empty())
        return a.text.empty() && b.text.empty() && a.number == b.number;
    if (a.text.size() != b.text.size())
        return false;
    for (std::size_t i = 0; i < a.text.size(); ++i) {
        if (upper(a.text[i]) != upper(b.text[i]))
            return false;
    }
    return true;
}

std::size_t roundUp4(std::size_t n)
{
    return (n + 3) & ~static_cast<std::size_t>(3);
}

struct ModuleTag {
};
ModuleTag programModule;

} // namespace

Id IdFromName(LPCSTR name)
{
    Id id;
    auto value = reinterpret_cast<UINT_PTR>(name);
    if (value <= 0xFFFF) {
        id.number = static_cast<WORD>(value);
        return id;
    }
    // Resource names are ASCII in practice; bytes above 0x7F are kept as
    // they are, which can only fail to match.
    for (const char* p = name; *p != '\0'; ++p)
        id.text.push_back(static_cast<char16_t>(static_cast<unsigned char>(*p)));
    return id;
}

bool RegisterImage(std::span<const std::byte> image)
{
    std::vector<Entry> found;
    Reader reader{image};
    while (reader.has(8)) {
        std::size_t start = reader.at;
        auto dataSize = reader.dword();
        auto headerSize = reader.dword();
        auto type = reader.id();
        if (!type)
            return false;
        auto name = reader.id();
        if (!name || !headerSize || *headerSize < 8 || image.size() - start < *headerSize)
            return false;
        std::size_t dataStart = start + *headerSize;
        if (image.size() - dataStart < *dataSize)
            return false;
        // The first entry of every .res is an empty one of type 0.
        if (!(type->text.empty() && type->number == 0))
            found.push_back({*type, *name, image.subspan(dataStart, *dataSize)});
        reader.at = roundUp4(dataStart + *dataSize);
    }
    entries = std::move(found);
    return true;
}

std::optional<std::span<const std::byte>> Find(const Id& type, const Id& name)
{
    for (const Entry& entry : entries) {
        if (same(entry.type, type) && same(entry.name, name))
            return entry.data;
    }
    return std::nullopt;
}

HINSTANCE ProgramInstance()
{
    return reinterpret_cast<HINSTANCE>(&programModule);
}

} // namespace resources
