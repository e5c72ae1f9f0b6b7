// Reading the process's resources from /proc, and the report after commands.
#include "resource_report.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace user32 {

ProcessResources ReadProcessResources()
{
    ProcessResources result{gdi32::LiveObjectCounts(), 0, 0};
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++result.fileDescriptors;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        long size = 0;
        long resident = 0;
        if (std::fscanf(statm, "%ld %ld", &size, &resident) == 2)
            result.residentKiB = resident * (sysconf(_SC_PAGESIZE) / 1024);
        std::fclose(statm);
    }
    return result;
}

void ReportResourcesAfterCommand()
{
    static const bool wanted = std::getenv("PIDVIEW_REPORT_RESOURCES") != nullptr;
    if (!wanted)
        return;
    ProcessResources now = ReadProcessResources();
    std::fprintf(stderr, "resources pens=%d brushes=%d bitmaps=%d contexts=%d fds=%d rss_kib=%ld\n",
                 now.objects.pens, now.objects.brushes, now.objects.bitmaps, now.objects.contexts,
                 now.fileDescriptors, now.residentKiB);
    std::fflush(stderr);
}

} // namespace user32
