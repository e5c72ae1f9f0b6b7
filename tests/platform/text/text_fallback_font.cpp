// Without Unifont-JP the text falls back to another Japanese face, says so
// once, and keeps its 8- and 16-pixel cells.
#include "cells.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

TEST(TextFallbackFont, AnotherJapaneseFaceKeepsTheCells)
{
    const std::filesystem::path fonts = "/usr/share/fonts/opentype/ipafont-gothic";
    if (!std::filesystem::exists(fonts))
        GTEST_SKIP() << "no IPA Gothic to fall back to";
    // A font configuration of the user's own (asked instead of the packaged
    // font file) that knows only that folder, read on the first text.
    std::filesystem::path home = std::filesystem::temp_directory_path() / ("pidview-fonts-" + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    std::ofstream(home / "fonts.conf") << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << fonts.string()
                                       << "</dir><cachedir>" << (home / "cache").string()
                                       << "</cachedir></fontconfig>\n";
    setenv("FONTCONFIG_FILE", (home / "fonts.conf").c_str(), 1);

    testing::internal::CaptureStderr();
    gdi32::PixelBuffer paper = Paper();
    Draw(paper, 0, 0, "目標A");
    Draw(paper, 0, 20, "目標A");
    std::string said = testing::internal::GetCapturedStderr();
    std::filesystem::remove_all(home);

    EXPECT_NE(said.find("Unifont-JP"), std::string::npos) << said;
    EXPECT_EQ(said.find("Unifont-JP"), said.rfind("Unifont-JP")) << said;
    EXPECT_EQ(Touched(paper), (Columns{0, 40}));
    for (int left : {0, 16, 32})
        EXPECT_GT(CountColour(paper, kInk, left, 0, left + 8, 16), 3) << left;
}
