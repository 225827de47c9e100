#pragma once
#include <cstdint>
#include <vector>

#include "platform/AudioBackend.h"

struct PlatformWindow;

// The music and the timeline it drives.  Construction reads the sync tracks
// from "<base>_DAT", opens "<base>_MP3" as a looping stream and starts it;
// eventDue then reports, one per call, each event time the play position has
// reached.  Event times are byte positions of the decoded 44100 Hz 16-bit
// stereo stream.
class MusicPlayer {
public:
    MusicPlayer(PlatformWindow* window, const char* baseName);
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // Tracks count from 1.  True once for each event, in order.
    bool eventDue(int track);

    unsigned trackCount() const { return trackCount_; }
    unsigned stride() const { return stride_; }
    unsigned count(int track) const { return counts_.at(track - 1); }
    std::uint32_t time(int track, unsigned index) const { return times_.at((track - 1) * stride_ + index); }

private:
    void readTracks(const char* datName);
    void startStream(PlatformWindow* window, const char* mp3Name);

    AudioStream stream_ = 0;
    std::vector<unsigned> cursors_;
    std::vector<unsigned> counts_;
    std::vector<std::uint32_t> times_;
    unsigned stride_ = 0;
    unsigned trackCount_ = 0;
};

// Seconds as stored in the sync data to a byte position: the single-precision
// value times 176400, truncated (12.65 gives 2231459).
std::uint32_t syncSecondsToBytes(float seconds);

// The one music player, created by loadAssets; null before.
extern MusicPlayer* theMusicPlayer;
