// Filter pairs to Qt name filters.
#include "filters.h"

#include "../codepage/codepage.h"

#include <cstring>

namespace comdlg32 {

std::u16string QtPatterns(const std::u16string& patterns)
{
    std::u16string result;
    std::u16string pattern;
    auto flush = [&] {
        if (pattern.empty())
            return;
        if (pattern == u"*.*")
            pattern.assign(1, u'*');
        if (!result.empty())
            result.push_back(u' ');
        for (char16_t c : pattern) {
            bool lower = c >= u'a' && c <= u'z';
            bool upper = c >= u'A' && c <= u'Z';
            if (lower || upper) {
                char16_t other = lower ? static_cast<char16_t>(c - u'a' + u'A') : static_cast<char16_t>(c - u'A' + u'a');
                result += u'[';
                result += upper ? other : c;
                result += upper ? c : other;
                result += u']';
            } else {
                result.push_back(c);
            }
        }
        pattern.clear();
    };
    for (char16_t c : patterns) {
        if (c == u';' || c == u' ')
            flush();
        else
            pattern.push_back(c);
    }
    flush();
    return result;
}

std::vector<NameFilter> ReadFilters(const char* list, std::size_t limit)
{
    std::vector<NameFilter> filters;
    if (list == nullptr)
        return filters;
    std::size_t at = 0;
    auto next = [&](std::string& piece) {
        std::size_t length = strnlen(list + at, limit - at);
        piece.assign(list + at, length);
        at += length + 1;
        return length > 0 && at <= limit;
    };
    std::string description, patterns;
    // An empty description or pattern list is the list's closing string.
    while (at < limit && next(description) && at < limit && next(patterns))
        filters.push_back({codepage::ToUtf16(description), QtPatterns(codepage::ToUtf16(patterns))});
    return filters;
}

} // namespace comdlg32
