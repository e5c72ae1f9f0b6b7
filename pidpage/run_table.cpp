// A table of runs as CSV on standard output.
#include "run_table.h"

#include "csv.h"
#include "failure.h"
#include "run_file.h"

#include <cstdio>

namespace pidpage {

void WriteOutput(const std::string& text, const std::string& what)
{
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0
        || std::ferror(stdout))
        Fail(kStatusFailed, "cannot write the " + what + " to standard output");
}

void WriteRunTable(const std::vector<std::string>& paths, const std::vector<std::string>& columns,
                   const std::string& what,
                   const std::function<std::vector<std::string>(const std::string&, const MEASRECORD&)>& fieldsOf)
{
    WriteOutput(csv::Record(columns), what);
    std::string reasons;
    for (const std::string& path : paths) {
        MEASRECORD rec{};
        const int outcome = ReadMeasFile(path.c_str(), &rec);
        if (outcome == LOAD_ACCEPTED) {
            WriteOutput(csv::Record(fieldsOf(path, rec)), what);
            continue;
        }
        std::vector<std::string> fields(columns.size());
        fields[0] = csv::Field(path);
        WriteOutput(csv::Record(fields), what);
        reasons += (reasons.empty() ? "" : "\n") + RefusalReason(path, outcome);
    }
    if (!reasons.empty())
        Fail(kStatusFailed, reasons);
}

} // namespace pidpage
