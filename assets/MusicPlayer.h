#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/AudioBackend.h"

struct PlatformWindow;

// The sync tracks: per track its event times as byte positions, its count
// and the cursor of its next unreported event.  Track k (from 0) keeps its
// times at k * stride onwards; stride is the longest track's count.
struct SyncTracks {
    std::vector<unsigned> cursors;
    std::vector<unsigned> counts;
    std::vector<std::uint32_t> times;
    unsigned stride = 0;
    unsigned trackCount = 0;
};

// Reads sync data: the track count, then per track a name (discarded), a
// count and that many times in seconds.  Counts that the data cannot hold
// are cut to what it can; nothing is read outside the data.  Data whose
// table (tracks times the longest count) would outnumber its bytes gives no
// tracks.
SyncTracks readSyncTracks(const unsigned char* data, std::size_t size);
// The sync tracks compiled in as "<base>_DAT".
SyncTracks readCompiledInSyncTracks(const char* baseName);

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

    const SyncTracks& tracks() const { return tracks_; }

private:
    void startStream(PlatformWindow* window, const char* mp3Name);

    AudioStream stream_ = 0;
    SyncTracks tracks_;
};

// Seconds as stored in the sync data to a byte position: the single-precision
// value times 176400, truncated (12.65 gives 2231459).
std::uint32_t syncSecondsToBytes(float seconds);

// The one music player, created by loadAssets; null before.
extern MusicPlayer* theMusicPlayer;
