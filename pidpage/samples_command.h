// pidpage --samples: a run's samples as CSV.
#pragma once

#include <string>
#include <vector>

namespace pidpage {

// FILE.PID: a header line and one row per sample slot on standard output;
// a file that is not a run fails with status 1 and writes nothing.
void RunSamples(const std::vector<std::string>& operands);

} // namespace pidpage
