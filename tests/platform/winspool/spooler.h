// Test helpers for the spooler: the private scheduler's command-line tools,
// the PDF files CUPS-PDF writes, and those files rasterized.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace spoolertest {

// Runs a shell command against the scheduler with_cups.sh started.
inline int Shell(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str());
}

inline std::string Output(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

// Waits until the scheduler holds no unfinished job.
inline bool WaitForJobs()
{
    for (int i = 0; i < 600; ++i) {
        if (Output("lpstat -o 2>/dev/null").empty())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

// PDF files written since the scheduler started, oldest first.
inline std::vector<std::filesystem::path> PrintedFiles()
{
    const char* dir = std::getenv("CUPS_PDF_DIR");
    const char* stamp = std::getenv("CUPS_STAMP");
    std::vector<std::filesystem::path> files;
    if (dir == nullptr || stamp == nullptr)
        return files;
    std::string list = Output(std::string("find '") + dir + "' -maxdepth 1 -name '*.pdf' -newer '" + stamp
                              + "' -printf '%T@ %p\\n' | sort -n | cut -d' ' -f2-");
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find('\n', start);
        files.emplace_back(list.substr(start, end - start));
        start = end == std::string::npos ? list.size() : end + 1;
    }
    return files;
}

struct Raster {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    std::uint32_t at(int x, int y) const
    {
        const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    }
};

inline Raster ReadPpm(const std::filesystem::path& file)
{
    Raster raster;
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> raster.width >> raster.height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255 || raster.width <= 0 || raster.height <= 0)
        return Raster{};
    raster.rgb.resize(static_cast<std::size_t>(raster.width) * raster.height * 3);
    in.read(reinterpret_cast<char*>(raster.rgb.data()), static_cast<std::streamsize>(raster.rgb.size()));
    return raster;
}

// The first page of pdf rendered at dpi with pdftoppm, no anti-aliasing.
inline Raster Rasterize(const std::filesystem::path& pdf, int dpi)
{
    std::filesystem::path out = std::filesystem::temp_directory_path() / "pidview-spooler-page";
    std::string command = "pdftoppm -r " + std::to_string(dpi) + " -aa no -aaVector no -f 1 -singlefile '"
                          + pdf.string() + "' '" + out.string() + "'";
    if (Shell(command) != 0)
        return Raster{};
    Raster raster = ReadPpm(out.string() + ".ppm");
    std::filesystem::remove(out.string() + ".ppm");
    return raster;
}

// Compares printed, from (left, top), with source enlarged factor times by
// pixel repetition, and checks a one-pixel white border around it.
//
// pdftoppm draws an image one device pixel wider and taller than the area it
// covers and resamples it bilinearly, so an edge of the picture can move by
// up to a pixel and come out as a blend. Each printed channel value must
// therefore lie between the lowest and highest value the enlargement has
// within one pixel of that place (white outside it). Where that neighbourhood
// is all one colour, this asks for the exact colour.
inline int CountMismatches(const Raster& printed, int left, int top, const Raster& source, int factor)
{
    const int width = source.width * factor;
    const int height = source.height * factor;
    auto expected = [&](int x, int y) -> std::uint32_t {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return 0xFFFFFF;
        return source.at(x / factor, y / factor);
    };
    int mismatches = 0;
    for (int y = -1; y <= height; ++y) {
        for (int x = -1; x <= width; ++x) {
            bool onPage = left + x >= 0 && top + y >= 0 && left + x < printed.width && top + y < printed.height;
            bool border = x < 0 || y < 0 || x >= width || y >= height;
            if (!onPage) {
                // The border may fall off the paper; the picture may not.
                mismatches += border ? 0 : 1;
                continue;
            }
            std::uint32_t got = printed.at(left + x, top + y);
            for (int shift = 0; shift <= 16; shift += 8) {
                int low = 255;
                int high = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        int value = static_cast<int>((expected(x + dx, y + dy) >> shift) & 0xFF);
                        low = std::min(low, value);
                        high = std::max(high, value);
                    }
                int value = static_cast<int>((got >> shift) & 0xFF);
                if (value < low || value > high) {
                    ++mismatches;
                    break;
                }
            }
        }
    }
    return mismatches;
}

inline int PageCount(const std::filesystem::path& pdf)
{
    std::string info = Output("pdfinfo '" + pdf.string() + "' 2>/dev/null | sed -n 's/^Pages: *//p'");
    return info.empty() ? 0 : std::atoi(info.c_str());
}

} // namespace spoolertest
