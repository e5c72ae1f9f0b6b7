// pidpage --figures: the step-response figures of runs as CSV.
#pragma once

#include <string>
#include <vector>

namespace pidpage {

// FILE.PID...: one row per file, in the order given, on standard output; a
// file that is not a run gets a row of its name alone, and the mode then
// fails with status 1 and a reason per refused file.
void RunFigures(const std::vector<std::string>& operands);

} // namespace pidpage
