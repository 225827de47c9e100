#pragma once
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "platform/AudioBackend.h"
#include "platform/Mp3Stream.h"
#include "platform/PlayPosition.h"

// What every output device's backend does alike: the one MP3 stream (opened
// in place from memory), whether it plays and loops, decoding it into the
// device's buffers, and the play position the music player reads.  A
// backend adds only its device: opening and closing it (init, start, stop,
// free), what it does when the stream starts or goes away, and how many
// bytes of PCM it has made heard since playback began.
class Mp3AudioBackend : public AudioBackend {
public:
    AudioStream streamCreateFile(bool fromMemory, const void* data, std::uint64_t offset, std::uint64_t length,
                                 std::uint32_t flags) final;
    bool streamPlay(AudioStream stream, bool flush, std::uint32_t flags) final;
    std::uint32_t channelGetPosition(AudioStream stream) final;
    void streamFree(AudioStream stream) final;

    // The stream the music plays in (0 before there is one).
    AudioStream stream() const { return haveStream_ ? kTheStream : 0; }

protected:
    static constexpr AudioStream kTheStream = 1;

    // The bytes of PCM heard since the stream began to play, as the device
    // tells (they may jitter backwards a little; the position never does).
    virtual std::uint64_t heardBytes() = 0;
    // After the stream has begun to play, outside the lock.
    virtual void streamStarted() {}
    // Before the stream goes away, outside the lock.
    virtual void streamEnding() {}

    // Writes the next `bytes` bytes of the music to out, from the start again
    // at the end of a looping stream; silence past the end of a stream played
    // once and when nothing plays.  Returns the bytes that came from the music.
    // Called with mutex_ held where a device thread decodes.
    std::size_t decode(unsigned char* out, std::size_t bytes);
    bool playing() const { return playing_; }
    void stopPlaying() { playing_ = false; }

    bool initialised_ = false;
    // Between a device thread that decodes and the main thread: held while
    // the stream is opened, started, decoded and freed.
    std::mutex mutex_;

private:
    Mp3Stream mp3_;
    bool haveStream_ = false;
    bool playing_ = false;
    bool looping_ = false;
    PlayPosition position_;
};
