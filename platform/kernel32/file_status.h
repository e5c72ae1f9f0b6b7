// A file's status as Windows reports it: attributes, times and size, from
// stat.
#pragma once

#include "kernel32.h"

#include <cstdint>
#include <sys/stat.h>

namespace kernel32 {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::int64_t kEpochDifference = 11644473600;

inline FILETIME FileTimeOf(const timespec& time)
{
    std::int64_t seconds = time.tv_sec + kEpochDifference;
    std::uint64_t ticks = seconds < 0 ? 0
                                      : static_cast<std::uint64_t>(seconds) * 10000000u
                                            + static_cast<std::uint64_t>(time.tv_nsec) / 100u;
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

inline DWORD AttributesOf(const struct stat& info)
{
    if (S_ISDIR(info.st_mode))
        return FILE_ATTRIBUTE_DIRECTORY;
    // Pipes, sockets and devices have no Windows kind: none of them reads
    // like a file.
    if (!S_ISREG(info.st_mode))
        return FILE_ATTRIBUTE_DEVICE;
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
}

// Linux keeps no creation time in stat: the time of the last status change
// stands in for it. It moves with every write, rename or change of
// permissions, so it tells a change that the write time may not.
template <typename Data> void Describe(const struct stat& info, Data& data)
{
    data.dwFileAttributes = AttributesOf(info);
    data.ftCreationTime = FileTimeOf(info.st_ctim);
    data.ftLastAccessTime = FileTimeOf(info.st_atim);
    data.ftLastWriteTime = FileTimeOf(info.st_mtim);
    auto size = S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0u;
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size);
}

} // namespace kernel32
