// EnumPrintersA for the default printer: the record and its strings in the
// caller's buffer, the size it needs, and no record without a default.
#include "platform/win32.h"
#include "spooler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using spoolertest::Shell;

namespace {

struct Lookup {
    BOOL ok;
    DWORD error;
    DWORD needed;
    DWORD returned;
};

Lookup LookUp(LPBYTE buffer, DWORD size, DWORD level = 5)
{
    Lookup result{};
    SetLastError(0);
    result.needed = 0xDEADBEEF;
    result.returned = 0xDEADBEEF;
    result.ok = EnumPrintersA(PRINTER_ENUM_DEFAULT, nullptr, level, buffer, size, &result.needed, &result.returned);
    result.error = GetLastError();
    return result;
}

DWORD NeededFor(const std::string& name, const std::string& port)
{
    return static_cast<DWORD>(sizeof(PRINTER_INFO_5A) + name.size() + 1 + port.size() + 1);
}

} // namespace

TEST(DefaultPrinterLookup, AskingWithNoBufferGivesTheSizeNeeded)
{
    Lookup probe = LookUp(nullptr, 0);
    EXPECT_FALSE(probe.ok);
    EXPECT_EQ(probe.error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(probe.needed, NeededFor("PDF", "cups-pdf:/"));
    EXPECT_EQ(probe.returned, 0u);
}

TEST(DefaultPrinterLookup, RecordAndStringsFillABufferOfExactlyThatSize)
{
    DWORD needed = NeededFor("PDF", "cups-pdf:/");
    std::vector<BYTE> buffer(needed + 16, 0xAA);
    Lookup lookup = LookUp(buffer.data(), needed);
    ASSERT_TRUE(lookup.ok);
    EXPECT_EQ(lookup.returned, 1u);
    EXPECT_EQ(lookup.needed, needed);
    PRINTER_INFO_5A info;
    std::memcpy(&info, buffer.data(), sizeof info);
    EXPECT_STREQ(info.pPrinterName, "PDF");
    EXPECT_STREQ(info.pPortName, "cups-pdf:/");
    // The strings live inside the caller's buffer, after the record.
    const char* begin = reinterpret_cast<const char*>(buffer.data());
    EXPECT_GE(info.pPrinterName, begin + sizeof info);
    EXPECT_LE(info.pPortName + std::strlen(info.pPortName) + 1, begin + needed);
    EXPECT_EQ(buffer[needed], 0xAA) << "wrote past the size it was given";
}

TEST(DefaultPrinterLookup, OneByteShortIsRefusedWithTheSizeNeeded)
{
    DWORD needed = NeededFor("PDF", "cups-pdf:/");
    std::vector<BYTE> buffer(needed, 0xAA);
    Lookup lookup = LookUp(buffer.data(), needed - 1);
    EXPECT_FALSE(lookup.ok);
    EXPECT_EQ(lookup.error, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(lookup.needed, needed);
    EXPECT_EQ(lookup.returned, 0u);
    EXPECT_EQ(buffer[0], 0xAA);
}

TEST(DefaultPrinterLookup, ALongQueueNameIsReportedWhole)
{
    const std::string name = "Measurement_Page_Printer_On_The_Second_Floor_Laboratory_Bench_7";
    ASSERT_EQ(Shell("lpadmin -p " + name + " -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"), 0);
    ASSERT_EQ(Shell("lpadmin -d " + name), 0);
    Lookup probe = LookUp(nullptr, 0);
    std::vector<BYTE> buffer(probe.needed);
    Lookup lookup = LookUp(buffer.data(), probe.needed);
    Shell("lpadmin -d PDF");
    Shell("lpadmin -x " + name);
    ASSERT_TRUE(lookup.ok);
    ASSERT_EQ(lookup.returned, 1u);
    EXPECT_GT(probe.needed, 60u);
    PRINTER_INFO_5A info;
    std::memcpy(&info, buffer.data(), sizeof info);
    EXPECT_EQ(std::string(info.pPrinterName), name);
}

TEST(DefaultPrinterLookup, WithoutADefaultThereIsNoRecord)
{
    // Deleting the default queue leaves the server without a default.
    ASSERT_EQ(Shell("lpadmin -p Spare -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"), 0);
    ASSERT_EQ(Shell("lpadmin -d Spare"), 0);
    ASSERT_EQ(Shell("lpadmin -x Spare"), 0);
    BYTE buffer[256];
    Lookup lookup = LookUp(buffer, sizeof buffer);
    Shell("lpadmin -d PDF");
    EXPECT_TRUE(lookup.ok);
    EXPECT_EQ(lookup.returned, 0u);
    EXPECT_EQ(lookup.needed, 0u);
}

TEST(DefaultPrinterLookup, OnlyLevelFiveIsServed)
{
    BYTE buffer[256];
    Lookup lookup = LookUp(buffer, sizeof buffer, 2);
    EXPECT_FALSE(lookup.ok);
    EXPECT_EQ(lookup.error, static_cast<DWORD>(ERROR_INVALID_LEVEL));
}
