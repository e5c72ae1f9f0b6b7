// pidpage's tuning modes: the suggestion for runs as CSV, and the chart of
// one run beside its model and the predicted runs, as a PNG.
#pragma once

#include "options.h"

#include <string>
#include <vector>

namespace pidpage {

// FILE.PID...: one row per file, in the order given, on standard output,
// with tau_c and the output limit of settings; a withheld suggestion is a
// row with its reason, a file that is not a run a
// row of its name alone, and the mode then fails with status 1 and a
// reason per refused file.
void RunTune(const std::vector<std::string>& operands, const TuneSettings& settings);

// OUT.png FILE.PID: the viewer's tuning chart of the run; fails with status
// 1, writing nothing, when the run is refused or no suggestion is made.
void RunTuneChart(const std::vector<std::string>& operands, const TuneSettings& settings, const ChartOptions& chart);

} // namespace pidpage
