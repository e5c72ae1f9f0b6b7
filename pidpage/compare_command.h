// pidpage's comparison mode: several runs on one chart, as a PNG.
#pragma once

#include "options.h"

#include "picture/compare.h"

#include <string>
#include <vector>

namespace pidpage {

// OUT.png FILE.PID...: the comparison chart of one to eight runs. Returns
// the reasons for the files it left out (the chart holds the rest); fails
// with status 1, writing nothing, when none is left.
std::vector<std::string> RunCompare(const std::vector<std::string>& operands, const ChartOptions& chart);
// Draws the chart of a set at the range and with the marks asked for and
// writes it to output as a PNG.
void WriteChart(const COMPARESET& set, const ChartOptions& chart, const std::string& output);

} // namespace pidpage
