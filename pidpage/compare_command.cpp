// The comparison chart of several runs as a PNG: each file is read into a
// record of its own; one that cannot be used is named and left out. Both
// charts are written here, at the range and with the marks asked for.
#include "compare_command.h"

#include "failure.h"
#include "options.h"
#include "png_file.h"
#include "run_file.h"

#include "picture/compare.h"
#include "platform/codepage/codepage.h"
#include "picture/page.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace pidpage {
namespace {

// The file's name without its folder, as the legend shows it (a UTF-8 name
// in code page 932, like the viewer's title), cut to the record's room.
void CopyName(const std::string& path, CHAR (&name)[COMPARE_NAME_SIZE])
{
    const std::size_t slash = path.find_last_of('/');
    const std::string base =
        codepage::FileNameToCodePage(slash == std::string::npos ? path : path.substr(slash + 1));
    const std::size_t length = std::min(base.size(), sizeof name - 1);
    std::memcpy(name, base.data(), length);
    name[length] = '\0';
}

std::string Lines(const std::vector<std::string>& lines, const std::string& last)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text + last;
}

} // namespace

std::vector<std::string> RunCompare(const std::vector<std::string>& operands, const ChartOptions& chart)
{
    if (operands.empty() || operands.front().empty())
        Fail(kStatusUsage, "--compare: no output name; " + UsageText());
    if (operands.size() < 2)
        Fail(kStatusUsage, "--compare: no run to compare; " + UsageText());
    if (operands.size() - 1 > COMPARE_MAX_RUNS)
        Fail(kStatusUsage, "--compare: more than " + std::to_string(COMPARE_MAX_RUNS) + " runs; " + UsageText());

    CheckOutputName(operands.front(), {operands.begin() + 1, operands.end()});

    auto set = std::make_unique<COMPARESET>();
    set->nRuns = 0;
    std::vector<std::string> refused;
    for (std::size_t i = 1; i < operands.size(); ++i) {
        COMPARERUN& run = set->run[set->nRuns];
        const int outcome = ReadMeasFile(operands[i].c_str(), &run.rec);
        if (outcome != LOAD_ACCEPTED) {
            refused.push_back(RefusalReason(operands[i], outcome));
            continue;
        }
        CopyName(operands[i], run.szName);
        ++set->nRuns;
    }
    if (set->nRuns == 0)
        Fail(kStatusFailed, Lines(refused, "no run to compare; nothing written"));

    try {
        WriteChart(*set, chart, operands.front());
    } catch (const Failure& failure) {
        Fail(failure.status, Lines(refused, failure.message));
    }
    return refused;
}

void WriteChart(const COMPARESET& set, const ChartOptions& chart, const std::string& output)
{
    CHARTVIEW view{};
    view.bMarks = chart.marks;
    ResetChartView(&view, &set);
    if (chart.range)
        SetTimeRange(&view.axes, chart.all ? 0 : chart.startMs, chart.all ? view.axes.llWholeEndMs : chart.endMs);
    auto picture = std::make_shared<gdi32::PixelBuffer>(PAGE_WIDTH, PAGE_HEIGHT, 0xFFFFFF);
    HDC hdc = gdi32::CreateBufferDC(picture);
    if (hdc == nullptr)
        Fail(kStatusFailed, "cannot make a drawing surface");
    Disp_CompareView(hdc, &set, &view);
    DeleteDC(hdc);
    SavePng(*picture, output);
}

} // namespace pidpage
