// Test helpers for the spooler: the private scheduler's command-line tools,
// the PDF files CUPS-PDF writes, and those files rasterized.
#pragma once

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

// The first page of pdf rendered at dpi with pdftoppm, no anti-aliasing.
inline Raster Rasterize(const std::filesystem::path& pdf, int dpi)
{
    std::filesystem::path out = std::filesystem::temp_directory_path() / "pidview-spooler-page";
    Raster raster;
    std::string command = "pdftoppm -r " + std::to_string(dpi) + " -aa no -aaVector no -f 1 -singlefile '"
                          + pdf.string() + "' '" + out.string() + "'";
    if (Shell(command) != 0)
        return raster;
    std::ifstream in(out.string() + ".ppm", std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> raster.width >> raster.height >> maxValue;
    in.get();
    raster.rgb.resize(static_cast<std::size_t>(raster.width) * raster.height * 3);
    in.read(reinterpret_cast<char*>(raster.rgb.data()), static_cast<std::streamsize>(raster.rgb.size()));
    std::filesystem::remove(out.string() + ".ppm");
    return raster;
}

inline int PageCount(const std::filesystem::path& pdf)
{
    std::string info = Output("pdfinfo '" + pdf.string() + "' 2>/dev/null | sed -n 's/^Pages: *//p'");
    return info.empty() ? 0 : std::atoi(info.c_str());
}

} // namespace spoolertest
