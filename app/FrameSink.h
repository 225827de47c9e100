#pragma once
#include <cstdint>
#include <string>

// One finished frame as read back: RGBA bytes, rows bottom-up as OpenGL
// stores them.  The bytes are valid only during the call they are given to.
struct FramePixels {
    const std::uint8_t* rgba = nullptr;
    int width = 0;
    int height = 0;
    std::uint64_t frame = 0;
};

// Where a headless run puts the frames it writes: PNG files in a folder, or
// a video file.  Each call returns false with a reason on failure.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual bool open(std::string& error) = 0;
    virtual bool write(const FramePixels& pixels, std::string& error) = 0;
    // Completes the output; after it the result is under its final name.
    virtual bool finish(std::string& error) = 0;
    // Gives up: nothing is left under the final name.
    virtual void abandon() {}
    // What stays on disk after abandon(), for the message that ends the run.
    virtual std::string leftBehind() const { return "nothing left under the final name"; }
};
