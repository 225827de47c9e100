#pragma once
// Reading the reference frames and capturing frames to compare with them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/GoldenReferences.h"
#include "tests/PngImage.h"

// Renders the listed frames of one headless capture at `fps` into `dir`,
// with further options (like a resolution) if given.  What the run prints
// on its error stream (the part starts) goes to `log`, or nowhere.
inline void captureFrames(const std::filesystem::path& dir, const std::vector<GoldenFrame>& frames,
                          const std::string& options, int fps = 60, const std::filesystem::path& log = {})
{
    std::string list;
    for (const GoldenFrame& entry : frames)
        list += (list.empty() ? "" : ",") + std::to_string(entry.frame);
    const std::string errors = log.empty() ? std::string(QUITTENHAIN_DISCARD_STDERR) : "2>" + log.string();
    const std::string command = std::string(QUITTENHAIN_BINARY) + " --capture " + dir.string() + " --fps " +
                                std::to_string(fps) + " --frames " + list + " " + options + " " + errors;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}


// The listed frames of one headless capture at `fps`, in list order, with
// further options (like a resolution) if given.  The capture's folder is
// made under the temporary directory and removed again.
inline std::vector<Image> capturedFrames(const std::vector<GoldenFrame>& frames, const std::string& options,
                                         const std::string& tag, int fps = 60)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("quittenhain-" + tag + "-frames");
    std::filesystem::remove_all(dir);
    captureFrames(dir, frames, options, fps);
    std::vector<Image> images;
    for (const GoldenFrame& entry : frames) {
        char file[32];
        std::snprintf(file, sizeof file, "frame%05ld.png", entry.frame);
        images.push_back(loadPng(dir / file));
    }
    std::filesystem::remove_all(dir);
    return images;
}
