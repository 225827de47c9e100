#pragma once
#include <cstdint>

#include "platform/AudioBackend.h"
#include "platform/Mp3Stream.h"
#include "platform/PieceSchedule.h"
#include "platform/PlayPosition.h"

// The music through the page's Web Audio context (options.qhAudioContext):
// decoded by libmpg123 a little ahead of the play position, each piece
// played by a buffer source started at the exact sample time it follows on,
// so start-up is quick and memory small.  The play position is the audio
// clock: the context's time less its reported output latency, since the
// first sample's start.  Without a running context the page is told, and
// the position follows the page's clock instead, as without a sound card.
class WebAudio : public AudioBackend {
public:
    WebAudio();
    bool init(int device, int frequency, std::uint32_t flags, PlatformWindow* window) override;
    AudioStream streamCreateFile(bool fromMemory, const void* data, std::uint64_t offset, std::uint64_t length,
                                 std::uint32_t flags) override;
    bool start() override { return initialised_; }
    bool streamPlay(AudioStream stream, bool flush, std::uint32_t flags) override;
    std::uint32_t channelGetPosition(AudioStream stream) override;
    void stop() override;
    void streamFree(AudioStream stream) override;
    void free() override;

    // The stream the music plays in (0 before there is one).
    AudioStream stream() const;

private:
    void scheduleAhead();
    // The clock the music follows, in seconds: the audio context's, or the
    // page's without sound.
    double clock() const;

    bool initialised_ = false;
    bool sound_ = false;        // a running context plays the music
    bool haveStream_ = false;
    bool playing_ = false;
    bool looping_ = false;
    PieceSchedule schedule_;
    Mp3Stream mp3_;
    PlayPosition position_;
};
