// Printer contexts: the printer's own pixels, and documents that reach the
// spooler under their title with the copied pixels where they were put.
#include "platform/gdi32/surface.h"
#include "platform/win32.h"
#include "platform/winspool/printer_dc.h"
#include "spooler.h"

#include <gtest/gtest.h>

#include <memory>

using spoolertest::Shell;

namespace {

// "PID制御 Ver1.00" in code page 932.
const char kTitle[] = "PID\x90\xa7\x8c\xe4 Ver1.00";
// The same title as CUPS-PDF writes it into the file name.
const char kTitleInFileName[] = "PID_345_210_266_345_276_241_Ver1.00";

// A 10 x 6 source: white with a black top-left pixel, a red bottom-right
// pixel and a blue one at (4, 2).
std::shared_ptr<gdi32::PixelBuffer> MarkedSource()
{
    auto source = std::make_shared<gdi32::PixelBuffer>(10, 6);
    source->at(0, 0) = 0x000000;
    source->at(9, 5) = 0xFF0000;
    source->at(4, 2) = 0x0000FF;
    return source;
}

struct PrintedPage {
    int files = 0;
    std::filesystem::path file;
    spoolertest::Raster raster;
};

// Prints what draw puts on the pages of one document, then collects the file.
template <typename Draw>
PrintedPage PrintDocument(Draw draw)
{
    std::size_t before = spoolertest::PrintedFiles().size();
    HDC printer = CreateDCA(nullptr, "PDF", nullptr, nullptr);
    EXPECT_NE(printer, nullptr);
    DOCINFOA doc{sizeof(DOCINFOA), kTitle, nullptr, nullptr, 0};
    EXPECT_GT(StartDocA(printer, &doc), 0);
    draw(printer);
    EXPECT_GT(EndDoc(printer), 0);
    DeleteDC(printer);
    EXPECT_TRUE(spoolertest::WaitForJobs());
    PrintedPage page;
    std::vector<std::filesystem::path> files = spoolertest::PrintedFiles();
    page.files = static_cast<int>(files.size() - before);
    if (page.files > 0) {
        page.file = files.back();
        page.raster = spoolertest::Rasterize(page.file, 300);
    }
    return page;
}

} // namespace

TEST(PrinterJobs, ContextHasThePrintersDefaultResolution)
{
    HDC printer = CreateDCA(nullptr, "PDF", nullptr, nullptr);
    ASSERT_NE(printer, nullptr);
    winspool::PrinterDevice* device = winspool::PrinterOf(printer);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->dpiX(), 300);
    EXPECT_EQ(device->dpiY(), 300);
    // A4 with no margins on this queue (its PPD rounds A4 to 595 x 842 points).
    EXPECT_NEAR(device->printableWidth(), 2480, 1);
    EXPECT_NEAR(device->printableHeight(), 3508, 1);
    DeleteDC(printer);

    ASSERT_EQ(Shell("lpadmin -p PDF -o Resolution=600dpi"), 0);
    printer = CreateDCA(nullptr, "PDF", nullptr, nullptr);
    Shell("lpadmin -p PDF -o Resolution=300dpi");
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(winspool::PrinterOf(printer)->dpiX(), 600);
    DeleteDC(printer);
}

TEST(PrinterJobs, UnknownPrinterGivesNoContext)
{
    EXPECT_EQ(CreateDCA(nullptr, "NoSuchQueue", nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateDCA(nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST(PrinterJobs, DocumentReachesTheSpoolerUnderItsTitle)
{
    PrintedPage page = PrintDocument([](HDC printer) {
        StartPage(printer);
        EndPage(printer);
    });
    ASSERT_EQ(page.files, 1);
    EXPECT_EQ(page.file.filename().string().rfind(kTitleInFileName, 0), 0u) << page.file;
    EXPECT_EQ(spoolertest::PageCount(page.file), 1);
}

TEST(PrinterJobs, StretchedCopyLandsOnItsPrinterPixels)
{
    auto source = MarkedSource();
    PrintedPage page = PrintDocument([&](HDC printer) {
        StartPage(printer);
        HDC memory = gdi32::CreateBufferDC(source);
        EXPECT_TRUE(StretchBlt(printer, 100, 40, 20, 12, memory, 0, 0, 10, 6, SRCCOPY));
        DeleteDC(memory);
        EndPage(printer);
    });
    ASSERT_EQ(page.files, 1);
    spoolertest::Raster marks;
    marks.width = source->width;
    marks.height = source->height;
    for (std::uint32_t pixel : source->pixels)
        marks.rgb.insert(marks.rgb.end(), {std::uint8_t(pixel >> 16), std::uint8_t(pixel >> 8), std::uint8_t(pixel)});
    // Each source pixel became a 2 x 2 block at (100, 40) + 2 * (x, y).
    EXPECT_EQ(spoolertest::CountMismatches(page.raster, 100, 40, marks, 2), 0);
    // One pixel off is caught.
    EXPECT_GT(spoolertest::CountMismatches(page.raster, 102, 40, marks, 2), 0);
    EXPECT_GT(spoolertest::CountMismatches(page.raster, 100, 42, marks, 2), 0);
}

TEST(PrinterJobs, EveryPageOfADocumentIsPrinted)
{
    PrintedPage page = PrintDocument([](HDC printer) {
        for (int i = 0; i < 3; ++i) {
            StartPage(printer);
            EndPage(printer);
        }
    });
    ASSERT_EQ(page.files, 1);
    EXPECT_EQ(spoolertest::PageCount(page.file), 3);
}

TEST(PrinterJobs, RefusedJobCannotStart)
{
    HDC printer = CreateDCA(nullptr, "PDF", nullptr, nullptr);
    ASSERT_NE(printer, nullptr);
    ASSERT_EQ(Shell("cupsreject PDF"), 0);
    DOCINFOA doc{sizeof(DOCINFOA), kTitle, nullptr, nullptr, 0};
    int job = StartDocA(printer, &doc);
    Shell("cupsaccept PDF");
    EXPECT_EQ(job, -1);
    DeleteDC(printer);
}

TEST(PrinterJobs, ContextDeletedMidDocumentPrintsNothing)
{
    std::size_t before = spoolertest::PrintedFiles().size();
    HDC printer = CreateDCA(nullptr, "PDF", nullptr, nullptr);
    ASSERT_NE(printer, nullptr);
    DOCINFOA doc{sizeof(DOCINFOA), kTitle, nullptr, nullptr, 0};
    ASSERT_GT(StartDocA(printer, &doc), 0);
    StartPage(printer);
    DeleteDC(printer);
    EXPECT_TRUE(spoolertest::WaitForJobs());
    EXPECT_EQ(spoolertest::PrintedFiles().size(), before);
}

TEST(PrinterJobs, DocumentCallsRefuseOtherContexts)
{
    auto buffer = std::make_shared<gdi32::PixelBuffer>(4, 4);
    HDC memory = gdi32::CreateBufferDC(buffer);
    DOCINFOA doc{sizeof(DOCINFOA), kTitle, nullptr, nullptr, 0};
    EXPECT_EQ(StartDocA(memory, &doc), -1);
    EXPECT_LE(StartPage(memory), 0);
    EXPECT_LE(EndDoc(nullptr), 0);
    DeleteDC(memory);
}
