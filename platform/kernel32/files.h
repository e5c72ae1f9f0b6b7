// What the layer's file calls share: the descriptor behind a file handle,
// and whether another opener may be writing a file.
#pragma once

#include "kernel32.h"

#include <sys/stat.h>

namespace kernel32 {

// The descriptor behind a file handle, or -1.
int DescriptorOf(HANDLE handle);

// Whether a process may have the file open on fd open for writing now, as
// far as the system can tell.
bool MayBeWritten(int fd, const struct stat& info);

} // namespace kernel32
