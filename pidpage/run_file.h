// Reading runs for pidpage: the one-line reason a file is refused.
#pragma once

#include "data/measdata.h"

#include <string>

namespace pidpage {

// Why path was refused, given the loader's outcome (not LOAD_ACCEPTED).
std::string RefusalReason(const std::string& path, int outcome);

} // namespace pidpage
