// Reading runs for pidpage: the one-line reason a file is refused.
#pragma once

#include "data/measdata.h"

#include <string>

namespace pidpage {

// Why path was refused, given the loader's outcome (not LOAD_ACCEPTED);
// called right after the load, while the last error is the loader's.
std::string RefusalReason(const std::string& path, int outcome);

} // namespace pidpage
