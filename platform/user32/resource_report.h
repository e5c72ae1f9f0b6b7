// What the process holds (drawing objects, file descriptors, resident
// memory), for the long-run tests, which check that none of it grows.
#pragma once

#include "../gdi32/surface.h"

namespace user32 {

struct ProcessResources {
    gdi32::LiveObjects objects;
    int fileDescriptors;
    long residentKiB;
};

ProcessResources ReadProcessResources();

// With PIDVIEW_REPORT_RESOURCES set, writes one line to stderr after each
// command the window procedure has handled:
// "resources pens=N brushes=N bitmaps=N contexts=N fds=N rss_kib=N".
void ReportResourcesAfterCommand();

} // namespace user32
