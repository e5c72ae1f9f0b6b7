// wsprintfA's fields as the page uses them and as USER32 defines them.
#include "platform/user32/wsprintf.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

char buffer[1100];

template <class... Args> std::string Format(const char* format, Args... args)
{
    const int length = wsprintfA(buffer, format, args...);
    EXPECT_EQ(length, static_cast<int>(std::string(buffer).size()));
    return buffer;
}

} // namespace

TEST(wsprintf_fields, the_page_fields_right_align_and_never_cut)
{
    EXPECT_EQ(Format("%3d", 45), " 45");
    EXPECT_EQ(Format("%3d ", 0), "  0 ");
    EXPECT_EQ(Format("%4d ", 80), "  80 ");
    EXPECT_EQ(Format("%5d", 42949672), "42949672");
    EXPECT_EQ(Format("%6d", -50), "   -50");
    EXPECT_EQ(Format("%3d", -123), "-123");
}

TEST(wsprintf_fields, labels_come_out_unchanged_but_for_a_doubled_percent)
{
    EXPECT_EQ(Format("[%%] "), "[%] ");
    EXPECT_EQ(Format("00[rpm] "), "00[rpm] ");
    EXPECT_EQ(Format("\x96\xda\x95\x57"), "\x96\xda\x95\x57"); // code page 932 bytes pass through
}

TEST(wsprintf_fields, the_most_negative_number_prints_whole)
{
    EXPECT_EQ(Format("%d", INT_MIN), "-2147483648");
    EXPECT_EQ(Format("%ld", static_cast<LONG>(INT_MIN)), "-2147483648");
    EXPECT_EQ(Format("%u", 4294967295u), "4294967295");
    EXPECT_EQ(Format("%i", -1), "-1");
}

TEST(wsprintf_fields, flags_width_and_precision)
{
    EXPECT_EQ(Format("%-5d|", 42), "42   |");
    EXPECT_EQ(Format("%05d", -42), "-0042");
    EXPECT_EQ(Format("%x %X %lx", 0xBEEFu, 0xBEEFu, 255u), "beef BEEF ff");
    EXPECT_EQ(Format("%#x %08X", 26u, 26u), "0x1a 0000001A");
    EXPECT_EQ(Format("%.3s|%5s|%-4s|", "abcdef", "ab", "x"), "abc|   ab|x   |");
    EXPECT_EQ(Format("%c%c%3c", 'o', 'k', '!'), "ok  !");
    EXPECT_EQ(Format("%.4d", 7), "0007");
    EXPECT_EQ(Format("%lu", 3000000000u), "3000000000");
    EXPECT_EQ(Format("%s", static_cast<const char*>(nullptr)), "(null)");
}

TEST(wsprintf_fields, output_stops_at_1024_bytes_with_the_terminator)
{
    const std::string longText(2000, 'a');
    buffer[1023] = 'x';
    buffer[1024] = 'y';
    EXPECT_EQ(wsprintfA(buffer, "%s", longText.c_str()), 1023);
    EXPECT_EQ(buffer[1023], '\0');
    EXPECT_EQ(buffer[1024], 'y');
    // A field wider than the output is cut with it.
    EXPECT_EQ(wsprintfA(buffer, "%2000d", 5), 1023);
    EXPECT_EQ(buffer[1022], ' ');
}
