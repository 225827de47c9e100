#pragma once
#include <functional>

// The order in which an output device plays a ring of buffers, for the
// thread that refills them.  The device plays buffers in the order they were
// handed to it and hands them back in the same order, so the ones it is done
// with are always a run starting at the oldest.  One wake-up of the refill
// thread may find several done (a wake-up signal stands for any number of
// them): all are refilled, oldest first, so that a refill delayed by less
// than the whole queue never lets the device run dry.
class AudioQueue {
public:
    explicit AudioQueue(int bufferCount) : count_(bufferCount) {}

    // Hands every buffer the device is done with (done(i)) back to it
    // through refill(i), oldest first; returns how many.
    int refill(const std::function<bool(int)>& done, const std::function<void(int)>& refillBuffer)
    {
        int refilled = 0;
        while (refilled < count_ && done(next_)) {
            refillBuffer(next_);
            next_ = (next_ + 1) % count_;
            ++refilled;
        }
        return refilled;
    }

    // The buffer the device will hand back next.
    int oldest() const { return next_; }
    int size() const { return count_; }

private:
    int count_;
    int next_ = 0;
};
