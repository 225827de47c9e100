#include "platform/Mp3AudioBackend.h"

#include <cstring>

AudioStream Mp3AudioBackend::streamCreateFile(bool fromMemory, const void* data, std::uint64_t offset,
                                              std::uint64_t length, std::uint32_t)
{
    if (!initialised_ || !fromMemory || data == nullptr || offset > length)
        return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    haveStream_ = mp3_.open(static_cast<const unsigned char*>(data) + offset, static_cast<std::size_t>(length - offset));
    return haveStream_ ? kTheStream : 0;
}

bool Mp3AudioBackend::streamPlay(AudioStream stream, bool, std::uint32_t flags)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stream != kTheStream || !haveStream_)
            return false;
        looping_ = (flags & kStreamLoop) != 0;
        playing_ = true;
    }
    position_.reset();
    streamStarted();
    return true;
}

std::size_t Mp3AudioBackend::decode(unsigned char* out, std::size_t bytes)
{
    std::size_t done = 0;
    if (playing_) {
        done = mp3_.read(out, bytes);
        if (done < bytes && looping_) {
            mp3_.rewind();
            done += mp3_.read(out + done, bytes - done);
        }
    }
    std::memset(out + done, 0, bytes - done);
    return done;
}

std::uint32_t Mp3AudioBackend::channelGetPosition(AudioStream stream)
{
    if (stream != kTheStream || !haveStream_)
        return kPositionUnknown;
    if (!playing_)
        return 0;
    return position_.next(heardBytes(), mp3_.lengthBytes(), looping_);
}

void Mp3AudioBackend::streamFree(AudioStream stream)
{
    if (stream != kTheStream)
        return;
    streamEnding();
    std::lock_guard<std::mutex> lock(mutex_);
    playing_ = false;
    haveStream_ = false;
}
