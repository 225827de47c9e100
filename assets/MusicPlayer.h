#pragma once
#include "assets/SyncTracks.h"
#include "platform/AudioBackend.h"

struct PlatformWindow;

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

    // The time of the event of `track` eventDue reported last; false when
    // it has reported none.
    bool lastEventTime(int track, std::uint32_t& time) const;

    // The stream's play position, a byte position as the event times are.
    std::uint32_t position() const;

    const SyncTracks& tracks() const { return tracks_; }

private:
    void startStream(PlatformWindow* window, const char* mp3Name);

    AudioStream stream_ = 0;
    SyncTracks tracks_;
};

// The one music player, created by loadAssets; null before.
extern MusicPlayer* theMusicPlayer;
