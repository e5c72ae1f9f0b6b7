// The filter list of the open-file-name record, as Qt name filters.
#pragma once

#include <string>
#include <vector>

namespace comdlg32 {

struct NameFilter {
    std::u16string description; // as the program gave it
    std::u16string patterns;    // Qt's wildcard form: blank-separated, letters matched in either case
};

// Reads the pairs "description\0patterns\0" up to the empty string;
// list is code page 932 text. At most limit bytes are read.
std::vector<NameFilter> ReadFilters(const char* list, std::size_t limit);

// One pattern list of a filter in Qt's form: ';' becomes a blank, "*.*"
// matches every name as it does on Windows, and letters ignore case.
std::u16string QtPatterns(const std::u16string& patterns);

} // namespace comdlg32
