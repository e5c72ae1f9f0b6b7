// CSV on standard output: a table of runs, a row per file, as --figures and
// --tune write them, and the plain text of a table already made.
#pragma once

#include "data/measdata.h"

#include <functional>
#include <string>
#include <vector>

namespace pidpage {

// Writes text to standard output, or fails with status 1 saying that the
// what (say "figures") cannot be written.
void WriteOutput(const std::string& text, const std::string& what);

// The header of columns, then for each path in order the fields fieldsOf
// makes of its run; a file that is not a run gets a row of its name alone,
// and after the last row the whole fails with status 1, a line for each.
void WriteRunTable(const std::vector<std::string>& paths, const std::vector<std::string>& columns,
                   const std::string& what,
                   const std::function<std::vector<std::string>(const std::string&, const MEASRECORD&)>& fieldsOf);

} // namespace pidpage
