// The page of one run (or of the start values) as a PNG.
#include "page_command.h"

#include "failure.h"
#include "options.h"
#include "png_file.h"
#include "run_file.h"

#include "picture/page.h"

#include <memory>

namespace pidpage {

void RunPage(const std::vector<std::string>& operands)
{
    if (operands.empty() || operands.back().empty())
        Fail(kStatusUsage, "no output name; " + UsageText());
    if (operands.size() > 2)
        Fail(kStatusUsage, "more names than a run and an output; " + UsageText());
    const std::string& output = operands.back();
    CheckOutputName(output, {operands.begin(), operands.end() - 1});
    InitMeasData();
    if (operands.size() == 2) {
        int outcome = LoadMeasData(operands[0].c_str());
        if (outcome != LOAD_ACCEPTED)
            Fail(kStatusFailed, RefusalReason(operands[0], outcome));
    }

    auto page = std::make_shared<gdi32::PixelBuffer>(PAGE_WIDTH, PAGE_HEIGHT, 0xFFFFFF);
    HDC hdc = gdi32::CreateBufferDC(page);
    if (hdc == nullptr)
        Fail(kStatusFailed, "cannot make a drawing surface");
    Disp_Page(hdc);
    DeleteDC(hdc);
    SavePng(*page, output);
}

} // namespace pidpage
