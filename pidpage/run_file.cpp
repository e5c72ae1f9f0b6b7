// The reasons pidpage gives for a run it cannot use.
#include "run_file.h"

namespace pidpage {

std::string RefusalReason(const std::string& path, int outcome)
{
    if (outcome == LOAD_BADFORMAT)
        return path + ": not a measurement file (wrong format or too short)";
    return path + ": cannot open";
}

} // namespace pidpage
