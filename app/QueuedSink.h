#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/FrameSink.h"

// Hands the frames to another sink on a thread of its own, through a queue
// of a few frames, so that encoding a PNG or piping to FFmpeg overlaps with
// drawing the next frames.  write() copies the pixels and returns at once
// unless the queue is full; a failure of the other sink is reported by the
// next write() or by finish().  Everything queued is written before finish,
// abandon and leftBehind answer, so nothing drawn and read is lost.
class QueuedSink : public FrameSink {
public:
    // depth: frames that may wait in the queue.
    explicit QueuedSink(std::unique_ptr<FrameSink> inner, int depth = 2);
    ~QueuedSink() override;

    bool open(std::string& error) override;
    bool write(const FramePixels& pixels, std::string& error) override;
    bool finish(std::string& error) override;
    void abandon() override;
    std::string leftBehind() const override;

private:
    struct Frame {
        std::vector<std::uint8_t> rgba;
        int width = 0;
        int height = 0;
        std::uint64_t frame = 0;
    };
    void work();
    // Waits until the queue is empty and the thread idle, then ends the thread.
    void drainAndStop() const;

    std::unique_ptr<FrameSink> inner_;
    std::size_t depth_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable std::thread thread_;
    std::deque<Frame> queue_;
    std::vector<std::vector<std::uint8_t>> spare_;   // buffers to reuse
    mutable bool stopping_ = false;
    bool failed_ = false;
    std::string failure_;
};
