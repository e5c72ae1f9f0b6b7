// The samples of a run as CSV, one row per slot: its time in seconds, its
// speed and the target in rpm; an empty slot has no speed, and a run without
// a time axis no times. The rows are the viewer's data copy's.
#include "samples_command.h"

#include "csv.h"
#include "failure.h"
#include "options.h"
#include "run_file.h"
#include "run_table.h"

#include "analysis/samples.h"


namespace pidpage {

void RunSamples(const std::vector<std::string>& operands)
{
    if (operands.size() != 1)
        Fail(kStatusUsage, std::string(operands.empty() ? "no measurement file" : "more than one file") + "; "
                               + UsageText());
    MEASRECORD rec{};
    int outcome = ReadMeasFile(operands[0].c_str(), &rec);
    if (outcome != LOAD_ACCEPTED)
        Fail(kStatusFailed, RefusalReason(operands[0], outcome));

    std::string text = csv::Record({"time_s", "speed_rpm", "target_rpm"});
    for (int i = 0; i < PID_SAMPLE_COUNT; ++i) {
        SAMPLEROW row;
        MakeSampleRow(&rec, i, &row);
        text += csv::Record({row.szTime, row.szSpeed, row.szTarget});
    }
    WriteOutput(text, "samples");
}

} // namespace pidpage
