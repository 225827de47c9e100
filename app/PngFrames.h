#pragma once
#include <string>
#include <vector>

#include "app/FrameSink.h"

// Writes each frame as DIR/frame00000.png, named by its frame index.
class PngFrames : public FrameSink {
public:
    explicit PngFrames(std::string directory) : directory_(std::move(directory)) {}

    bool open(std::string& error) override;
    bool write(const FramePixels& pixels, std::string& error) override;
    bool finish(std::string&) override { return true; }
    std::string leftBehind() const override;

private:
    std::string directory_;
    std::uint64_t written_ = 0;
    std::vector<std::uint8_t> png_;
    std::vector<std::uint8_t> rgb_;
};

// Frame file name inside the capture directory: frame00000.png, ...
std::string captureFileName(std::uint64_t frame);
