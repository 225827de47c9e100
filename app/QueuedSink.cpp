#include "app/QueuedSink.h"

#include <cstring>

QueuedSink::QueuedSink(std::unique_ptr<FrameSink> inner, int depth)
    : inner_(std::move(inner)), depth_(depth < 1 ? 1 : static_cast<std::size_t>(depth))
{
}

QueuedSink::~QueuedSink()
{
    drainAndStop();
}

bool QueuedSink::open(std::string& error)
{
    if (!inner_->open(error))
        return false;
    thread_ = std::thread([this] { work(); });
    return true;
}

bool QueuedSink::write(const FramePixels& pixels, std::string& error)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (stopping_ && !failed_) {
        // The thread has ended (leftBehind was asked): write here and now.
        lock.unlock();
        return inner_->write(pixels, error);
    }
    changed_.wait(lock, [this] { return failed_ || queue_.size() < depth_; });
    if (failed_) {
        error = failure_;
        return false;
    }
    Frame frame;
    if (!spare_.empty()) {
        frame.rgba = std::move(spare_.back());
        spare_.pop_back();
    }
    lock.unlock();
    // The copy is made without the lock, so the thread goes on meanwhile.
    frame.rgba.resize(static_cast<std::size_t>(pixels.width) * pixels.height * 4);
    std::memcpy(frame.rgba.data(), pixels.rgba, frame.rgba.size());
    frame.width = pixels.width;
    frame.height = pixels.height;
    frame.frame = pixels.frame;
    lock.lock();
    queue_.push_back(std::move(frame));
    changed_.notify_all();
    return true;
}

void QueuedSink::work()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty())
            return;   // stopping, and everything is written
        Frame frame = std::move(queue_.front());
        queue_.pop_front();
        changed_.notify_all();   // room for the next frame while this one is written
        lock.unlock();
        std::string error;
        const bool written = inner_->write({frame.rgba.data(), frame.width, frame.height, frame.frame}, error);
        lock.lock();
        spare_.push_back(std::move(frame.rgba));
        if (!written) {
            // The frames after a failed one are not written: the files on
            // disk stay the frames before it, in order.
            failed_ = true;
            failure_ = error;
            queue_.clear();
        }
        changed_.notify_all();
    }
}

void QueuedSink::drainAndStop() const
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

bool QueuedSink::finish(std::string& error)
{
    drainAndStop();
    if (failed_) {
        error = failure_;
        return false;
    }
    return inner_->finish(error);
}

void QueuedSink::abandon()
{
    drainAndStop();
    inner_->abandon();
}

std::string QueuedSink::leftBehind() const
{
    drainAndStop();
    return inner_->leftBehind();
}
