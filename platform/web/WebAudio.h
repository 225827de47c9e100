#pragma once
#include <cstdint>
#include <vector>

#include "platform/Mp3AudioBackend.h"
#include "platform/PieceSchedule.h"

// The music through the page's Web Audio context (options.qhAudioContext):
// decoded by libmpg123 a little ahead of the play position, each piece
// played by a buffer source started at the exact sample time it follows on,
// so start-up is quick and memory small.  The play position is the audio
// clock: the context's time less its reported output latency, since the
// first sample's start.  Without a running context the page is told, and
// the position follows the page's clock instead, as without a sound card.
class WebAudio : public Mp3AudioBackend {
public:
    WebAudio();
    bool init(int device, int frequency, std::uint32_t flags, PlatformWindow* window) override;
    bool start() override { return initialised_; }
    void stop() override;
    void free() override;

private:
    std::uint64_t heardBytes() override;
    void streamStarted() override;
    void streamEnding() override { stop(); }
    void scheduleAhead();
    // The clock the music follows, in seconds: the audio context's, or the
    // page's without sound.
    double clock() const;

    bool sound_ = false;        // a running context plays the music
    PieceSchedule schedule_;
    std::vector<unsigned char> piece_;   // one piece of PCM, decoded before it is handed over
};
