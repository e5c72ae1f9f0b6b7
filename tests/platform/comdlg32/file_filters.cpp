// The filter pairs of the open-file-name record as Qt name filters.
#include "platform/comdlg32/filters.h"

#include <gtest/gtest.h>

namespace {

TEST(FileFilters, PairsUpToTheEmptyString)
{
    static const char list[] = "PID files (*.PID)\0*.PID\0All files (*.*)\0*.*\0";
    auto filters = comdlg32::ReadFilters(list, sizeof list);
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].description, u"PID files (*.PID)");
    EXPECT_EQ(filters[0].patterns, u"*.[pP][iI][dD]");
    EXPECT_EQ(filters[1].patterns, u"*");
}

TEST(FileFilters, EmptyPatternEndsTheList)
{
    // The two zero bytes after "A" end the list: what follows is not the
    // caller's.
    static const char list[] = "A\0\0B\0*.B\0";
    auto filters = comdlg32::ReadFilters(list, sizeof list);
    for (const auto& filter : filters)
        EXPECT_NE(filter.description, u"B");
}

} // namespace
