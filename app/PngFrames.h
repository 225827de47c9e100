#pragma once
#include <string>
#include <vector>

#include "app/FrameSink.h"
#include "platform/FileClaim.h"

// Writes each frame as DIR/frame00000.png, named by its frame index.  The
// folder is claimed for the run through a hidden file in it, so a second
// capture into the same folder is refused instead of mixing its frames in.
class PngFrames : public FrameSink {
public:
    explicit PngFrames(std::string directory) : directory_(std::move(directory)) {}

    bool open(std::string& error) override;
    bool write(const FramePixels& pixels, std::string& error) override;
    bool finish(std::string&) override;
    void abandon() override;
    std::string leftBehind() const override;

private:
    std::string directory_;
    FileClaim claim_;
    std::uint64_t written_ = 0;
    std::vector<std::uint8_t> png_;
    std::vector<std::uint8_t> rgb_;
};

// The hidden file that claims a capture folder while a run writes into it.
extern const char* const kCaptureClaimName;

// Frame file name inside the capture directory: frame00000.png, ...
std::string captureFileName(std::uint64_t frame);
