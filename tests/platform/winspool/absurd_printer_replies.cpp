// Resolutions and page sizes no printer has, as a hostile server may report
// them: refused or kept in range, never overflowed.
#include "platform/winspool/printer_dc.h"

#include <gtest/gtest.h>

#include <climits>

TEST(AbsurdPrinterReplies, ResolutionsAreRefusedAndPixelCountsKeptInRange)
{
    using winspool::cups::DotsPerInch;
    EXPECT_EQ(DotsPerInch(118, true), 300);
    EXPECT_EQ(DotsPerInch(20000000, true), 0); // 20000000 * 254 does not fit 32 bits
    EXPECT_EQ(DotsPerInch(INT_MAX, false) + DotsPerInch(-300, true), 0);
    winspool::cups::PageGeometry page;
    page.dpiX = page.dpiY = winspool::cups::kMaxDpi;
    page.widthPoints = page.heightPoints = INT_MAX * 72.0 / 2540.0; // INT_MAX hundredths of a millimetre
    page.topPoints = 2 * page.heightPoints;                         // a margin beyond the page
    EXPECT_EQ(winspool::PrinterDevice("PDF", page).printableWidth(), INT_MAX);
    EXPECT_EQ(winspool::PrinterDevice("PDF", page).printableHeight(), 0);
}
