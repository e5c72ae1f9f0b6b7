// wsprintfA: USER32's formatter. Fields are %[-][#][0][width][.precision]
// [h|l|I64]type with types c d i u x X s and %% for a percent sign; there
// is no floating point. As on 32-bit Windows, 'l' means 32 bits, so %ld takes
// a LONG (an int here), not a C long.
#include "wsprintf.h"

#include <cstdarg>
#include <cstdint>
#include <cstring>

namespace {

// USER32 writes at most this many bytes, terminator included.
constexpr int kLimit = 1024;

class Output {
public:
    explicit Output(char* buffer) : buffer_(buffer) {}
    void put(char c)
    {
        if (length_ < kLimit - 1)
            buffer_[length_++] = c;
    }
    void put(char c, int count)
    {
        for (int i = 0; i < count; ++i)
            put(c);
    }
    void put(const char* text, int count)
    {
        for (int i = 0; i < count; ++i)
            put(text[i]);
    }
    bool full() const { return length_ >= kLimit - 1; }
    int finish()
    {
        buffer_[length_] = '\0';
        return length_;
    }

private:
    char* buffer_;
    int length_ = 0;
};

struct Field {
    bool left = false;
    bool alternate = false;
    bool zero = false;
    int width = 0;
    int precision = -1;
    enum { Int, Short, Wide } size = Int;
};

int ReadNumber(const char*& p)
{
    int value = 0;
    while (*p >= '0' && *p <= '9') {
        // Anything wider than the output is as good as the output's width.
        if (value < kLimit)
            value = value * 10 + (*p - '0');
        ++p;
    }
    return value;
}

// Lays out a field's body (sign or prefix, then digits or text) in its width.
void Pad(Output& out, const Field& field, const char* prefix, int prefixLength, const char* body, int bodyLength,
         int zeros)
{
    const int length = prefixLength + zeros + bodyLength;
    const int fill = field.width > length ? field.width - length : 0;
    if (!field.left && !field.zero)
        out.put(' ', fill);
    out.put(prefix, prefixLength);
    if (!field.left && field.zero)
        out.put('0', fill);
    out.put('0', zeros);
    out.put(body, bodyLength);
    if (field.left)
        out.put(' ', fill);
}

void PutNumber(Output& out, const Field& field, char type, std::uint64_t magnitude, bool negative)
{
    char digits[24];
    int count = 0;
    const unsigned base = type == 'x' || type == 'X' ? 16 : 10;
    const char* alphabet = type == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    do {
        digits[sizeof digits - 1 - count++] = alphabet[magnitude % base];
        magnitude /= base;
    } while (magnitude != 0);
    const char* body = digits + sizeof digits - count;
    if (field.precision == 0 && count == 1 && body[0] == '0')
        count = 0;
    const int zeros = field.precision > count ? field.precision - count : 0;
    const char* prefix = "";
    int prefixLength = 0;
    if (negative) {
        prefix = "-";
        prefixLength = 1;
    } else if (field.alternate && base == 16 && count > 0) {
        prefix = type == 'X' ? "0X" : "0x";
        prefixLength = 2;
    }
    Pad(out, field, prefix, prefixLength, body, count, zeros);
}

} // namespace

int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...)
{
    if (!buffer)
        return 0;
    Output out(buffer);
    if (!format)
        return out.finish();
    va_list args;
    va_start(args, format);
    for (const char* p = format; *p && !out.full();) {
        if (*p != '%') {
            out.put(*p++);
            continue;
        }
        ++p;
        if (*p == '%') {
            out.put(*p++);
            continue;
        }
        Field field;
        for (;; ++p) {
            if (*p == '-')
                field.left = true;
            else if (*p == '#')
                field.alternate = true;
            else if (*p == '0')
                field.zero = true;
            else
                break;
        }
        field.width = ReadNumber(p);
        if (*p == '.') {
            ++p;
            field.precision = ReadNumber(p);
        }
        if (*p == 'l') {
            ++p;
        } else if (*p == 'h') {
            field.size = Field::Short;
            ++p;
        } else if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
            field.size = Field::Wide;
            p += 3;
        }
        const char type = *p;
        if (type == '\0')
            break;
        ++p;
        switch (type) {
        case 'c': {
            const char c = static_cast<char>(va_arg(args, int));
            Field plain = field;
            plain.zero = false;
            Pad(out, plain, "", 0, &c, 1, 0);
            break;
        }
        case 's': {
            const char* text = va_arg(args, const char*);
            if (!text)
                text = "(null)";
            const int limit = field.precision >= 0 ? field.precision : kLimit;
            const int length = static_cast<int>(strnlen(text, static_cast<std::size_t>(limit)));
            Field plain = field;
            plain.zero = false;
            Pad(out, plain, "", 0, text, length, 0);
            break;
        }
        case 'd':
        case 'i': {
            std::int64_t value;
            if (field.size == Field::Wide)
                value = va_arg(args, long long);
            else if (field.size == Field::Short)
                value = static_cast<short>(va_arg(args, int));
            else
                value = va_arg(args, int);
            // Negated in unsigned arithmetic, so the most negative value is safe.
            const bool negative = value < 0;
            const auto magnitude =
                negative ? std::uint64_t{0} - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
            PutNumber(out, field, type, magnitude, negative);
            break;
        }
        case 'u':
        case 'x':
        case 'X': {
            std::uint64_t value;
            if (field.size == Field::Wide)
                value = va_arg(args, unsigned long long);
            else if (field.size == Field::Short)
                value = static_cast<unsigned short>(va_arg(args, unsigned));
            else
                value = va_arg(args, unsigned);
            PutNumber(out, field, type, value, false);
            break;
        }
        default:
            // An unknown type is copied as it stands.
            out.put(type);
            break;
        }
    }
    va_end(args);
    return out.finish();
}
