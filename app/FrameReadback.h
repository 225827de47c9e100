#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/FrameSink.h"

class OffscreenPicture;

// Reads finished frames of the persistent picture back to memory a frame or
// two behind the drawing.  Each frame is read into one of a ring of pixel
// pack buffers; its bytes are taken only when the ring comes round to it
// again, so that the driver can copy while the next frames are drawn and the
// caller encodes or pipes the frame before it meanwhile.  Without pixel
// buffer objects (an OpenGL 1.1 driver) every frame is read at once, by
// glReadPixels into memory.  Either way the frames come out in the order
// they were read, each exactly once, with the same bytes.
class FrameReadback {
public:
    // Looks up an OpenGL entry point by name; null when there is none.
    using Lookup = std::function<void*(const char* name)>;
    // Takes one frame's pixels; false stops the reading (the caller reports why).
    using Deliver = std::function<bool(const FramePixels& pixels)>;

    // inFlight: how many frames may wait, read but not yet delivered (2 or
    // 3 make sense).  The buffers are made at the first read, when the
    // context is current.
    FrameReadback(const OffscreenPicture& picture, Lookup lookup, int inFlight = 2);
    ~FrameReadback();
    FrameReadback(const FrameReadback&) = delete;
    FrameReadback& operator=(const FrameReadback&) = delete;

    // Starts reading what the picture shows now as the given frame, and
    // delivers the oldest frame once inFlight frames wait.  False when
    // deliver refused a frame.
    bool read(std::uint64_t frame, const Deliver& deliver);
    // Delivers every frame still waiting, oldest first.
    bool flush(const Deliver& deliver);
    // Frames read but not yet delivered.
    int waiting() const { return static_cast<int>(waiting_.size()); }
    // Why the last read or flush failed when deliver did not refuse the
    // frame; empty otherwise.
    const std::string& failure() const { return failure_; }
    // Whether frames go through pixel buffers (known after the first read).
    bool asynchronous() const { return calls_ != nullptr; }

    struct Calls;

private:
    struct Slot {
        unsigned buffer = 0;
        std::uint64_t frame = 0;
    };
    void start();
    bool deliverOldest(const Deliver& deliver);

    const OffscreenPicture& picture_;
    Lookup lookup_;
    int inFlight_;
    bool started_ = false;
    std::unique_ptr<Calls> calls_;   // null: synchronous reading
    std::vector<unsigned> idle_;     // buffers free for the next read
    std::deque<Slot> waiting_;       // oldest first
    std::vector<std::uint8_t> memory_;
    std::string failure_;
};
