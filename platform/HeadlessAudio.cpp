#include "platform/HeadlessAudio.h"

#include "platform/Mp3Stream.h"

namespace {
constexpr AudioStream kTheStream = 1;
}

bool HeadlessAudio::init(int, int frequency, std::uint32_t, PlatformWindow*)
{
    initialised_ = frequency == 44100;
    return initialised_;
}

AudioStream HeadlessAudio::streamCreateFile(bool fromMemory, const void* data, std::uint64_t offset,
                                            std::uint64_t length, std::uint32_t)
{
    if (!fromMemory || data == nullptr || offset > length)
        return 0;
    // Decoding the whole stream's headers gives its exact length, for the wrap.
    Mp3Stream mp3;
    const auto* bytes = static_cast<const unsigned char*>(data) + offset;
    if (!mp3.open(bytes, static_cast<std::size_t>(length - offset)))
        return 0;
    lengthBytes_ = mp3.lengthBytes();
    data_ = bytes;
    size_ = length - offset;
    return kTheStream;
}

bool HeadlessAudio::streamPlay(AudioStream stream, bool, std::uint32_t)
{
    if (stream != kTheStream || lengthBytes_ == 0 || !initialised_)
        return false;
    playing_ = true;
    playStartFrame_ = clock_.frames;
    return true;
}

std::uint32_t HeadlessAudio::channelGetPosition(AudioStream stream)
{
    if (stream != kTheStream || lengthBytes_ == 0)
        return kPositionUnknown;
    if (!playing_)
        return 0;
    const std::uint64_t bytes = clock_.samplesSince(playStartFrame_) * 4;
    return static_cast<std::uint32_t>(bytes % lengthBytes_);
}

void HeadlessAudio::streamFree(AudioStream stream)
{
    if (stream == kTheStream) {
        lengthBytes_ = 0;
        playing_ = false;
    }
}
