// Test helpers: .PID images with chosen contents, files in a scratch folder,
// and a snapshot of the whole measurement record.
#pragma once

#include "data/measdata.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace pidtest {

struct PidValues {
    int rotate = 45, prop = 80, integral = 0, diff = 0, samp = 5;
    std::array<std::uint8_t, 256> samples{};
    int measTime = 0, measRotate = 0, opeOut = 0;
    std::uint8_t mark = 'M';
};

inline void putInt(std::vector<std::uint8_t>& image, std::size_t offset, int value)
{
    auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        image[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

inline std::vector<std::uint8_t> pidImage(const PidValues& v)
{
    std::vector<std::uint8_t> image(416, 0);
    image[0] = v.mark;
    for (std::size_t i = 1; i < 128; ++i) // header bytes carry anything
        image[i] = static_cast<std::uint8_t>(i * 37 + 3);
    putInt(image, 128, v.rotate);
    putInt(image, 132, v.prop);
    putInt(image, 136, v.integral);
    putInt(image, 140, v.diff);
    putInt(image, 144, v.samp);
    for (std::size_t i = 0; i < 256; ++i)
        image[148 + i] = v.samples[i];
    putInt(image, 404, v.measTime);
    putInt(image, 408, v.measRotate);
    putInt(image, 412, v.opeOut);
    return image;
}

// A scratch folder removed with the object.
class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "pidtest-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~ScratchDir() { std::filesystem::remove_all(path_); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        std::string file = (path_ / name).string();
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return file;
    }
    std::string path(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Every field of the record, for before/after comparisons.
struct RecordSnapshot {
    std::array<BYTE, 128> header;
    int rotate, prop, integral, diff, samp;
    std::array<BYTE, 256> samples;
    int measTime, measRotate, opeOut;
    bool operator==(const RecordSnapshot&) const = default;
};

inline RecordSnapshot snapshotRecord()
{
    RecordSnapshot s{};
    std::copy(std::begin(cPIDHeader), std::end(cPIDHeader), s.header.begin());
    s.rotate = iPramRotate; s.prop = iPramProp; s.integral = iPramInt; s.diff = iPramDiff; s.samp = iPramSamp;
    std::copy(std::begin(cMeasData), std::end(cMeasData), s.samples.begin());
    s.measTime = iMeasTime; s.measRotate = iMeasRotate; s.opeOut = iOpeOut0;
    return s;
}

// Puts the record in a known, recognisable state that is not the start values.
inline void fillRecordWithMarkers()
{
    for (int i = 0; i < 128; ++i)
        cPIDHeader[i] = static_cast<BYTE>(0xA0 + (i % 16));
    iPramRotate = 11; iPramProp = 22; iPramInt = 33; iPramDiff = 44; iPramSamp = 55;
    for (int i = 0; i < 256; ++i)
        cMeasData[i] = static_cast<BYTE>(255 - i);
    iMeasTime = 66; iMeasRotate = 77; iOpeOut0 = 88;
}

} // namespace pidtest
