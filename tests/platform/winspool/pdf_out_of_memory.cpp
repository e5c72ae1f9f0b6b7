// A document that cannot be made whole is no document: when memory runs out
// while the pictures are compressed, the printer is sent nothing.
#include "platform/winspool/pdf_document.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The process's address space now, in bytes.
long long AddressSpace()
{
    long long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    return pages * ::sysconf(_SC_PAGESIZE);
}

} // namespace

TEST(PdfOutOfMemory, GivesNoDocumentInsteadOfABrokenOne)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit leaves";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            winspool::PdfDocument document;
            document.beginPage(595, 842);
            document.placeImage(2000, 2000, std::vector<std::uint8_t>(12'000'000, 0x80), 0, 0, 595, 595);
            // Room for a little, not for the compressed copy of the picture.
            struct rlimit limit = {};
            limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(AddressSpace() + (4 << 20));
            ::setrlimit(RLIMIT_AS, &limit);
            std::_Exit(document.finish() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
#endif
}
