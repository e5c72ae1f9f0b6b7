// What each of pidpage's modes does with its operands.
#pragma once

#include <string>
#include <vector>

namespace pidpage {

// [FILE.PID] OUT.png: the page of a run, or of the start values.
void RunPage(const std::vector<std::string>& operands);

} // namespace pidpage
