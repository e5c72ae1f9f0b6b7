// The command tail: the Linux entry quotes each file operand and the program
// reads the first back by the Windows rules, so a name arrives byte for byte.
#include "app/pidview.h"
#include "platform/entry/command_line.h"

#include <gtest/gtest.h>

namespace {

std::string FirstArgument(const std::string& tail, int* length = nullptr)
{
    char buffer[64];
    int count = GetFirstArgument(tail.c_str(), buffer, sizeof buffer);
    if (length != nullptr)
        *length = count;
    return count < 0 ? "<none>" : buffer;
}

TEST(CommandTail, QuotedNamesComeBackUnchanged)
{
    for (std::string name : {"plain.PID", "with space.PID", "a\"quote\".PID", "folder\\", "C:\\a\\\"b\\\\", "",
                             "\x95\x5C\x8E\xA6.PID", "tab\there.PID", "-dash.PID"})
        EXPECT_EQ(FirstArgument(entry::QuoteArgument(name) + " " + entry::QuoteArgument("second.PID")), name);
}

TEST(CommandTail, WindowsTailsAsTheShellWritesThem)
{
    EXPECT_EQ(FirstArgument("  \"C:\\Program Files\\run.PID\" more"), "C:\\Program Files\\run.PID");
    EXPECT_EQ(FirstArgument("C:\\runs\\P_ONLY.PID second"), "C:\\runs\\P_ONLY.PID");
    EXPECT_EQ(FirstArgument("a\\\\\\\"b\\\\\"c d\""), "a\\\"b\\c d");
    EXPECT_EQ(FirstArgument(" \t "), "<none>");
    int length = 0;
    EXPECT_EQ(FirstArgument(std::string(100, 'x'), &length), std::string(63, 'x'));
    EXPECT_EQ(length, 100);
}

} // namespace
