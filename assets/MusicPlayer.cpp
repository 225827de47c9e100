#include "assets/MusicPlayer.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "assets/Resources.h"
#include "assets/TextFields.h"
#include "platform/Platform.h"

MusicPlayer* theMusicPlayer = nullptr;

namespace {

const char* const kMusicResourceType = "ZYT_MUCKE";
const char* const kMessageCaption = "Shit !";

// A count is cut to the bytes left in the data (each field takes at least
// its terminator), so a damaged count cannot make the reader spin.
unsigned sanitizedCount(int value, const TextCursor& cursor)
{
    if (value <= 0)
        return 0;
    const auto remaining = static_cast<std::size_t>(cursor.end - cursor.pos);
    return static_cast<unsigned>(std::min<std::size_t>(static_cast<unsigned>(value), remaining));
}

}  // namespace

std::uint32_t syncSecondsToBytes(float seconds)
{
    const double bytes = static_cast<double>(seconds) * 176400.0;
    // Out-of-range values (negative, huge, NaN) saturate instead of being undefined.
    if (!(bytes > 0.0))
        return 0;
    if (bytes >= 4294967295.0)
        return 0xFFFFFFFFu;
    return static_cast<std::uint32_t>(bytes);
}

SyncTracks readSyncTracks(const unsigned char* data, std::size_t size)
{
    SyncTracks tracks;
    TextCursor cursor(data, size);
    tracks.trackCount = sanitizedCount(readInt(cursor), cursor);
    tracks.cursors.assign(tracks.trackCount, 0);
    tracks.counts.assign(tracks.trackCount, 0);

    // First pass: the counts and the longest track, which sets the row stride.
    // A track keeps only the times the data really holds.
    char name[kTextFieldBufferSize];
    const TextCursor tracksStart = cursor;
    for (unsigned k = 0; k < tracks.trackCount; ++k) {
        readText(cursor, name);
        const unsigned claimed = sanitizedCount(readInt(cursor), cursor);
        unsigned& present = tracks.counts[k];
        for (; present < claimed && !cursor.atEnd(); ++present)
            readFloat(cursor);
        tracks.stride = std::max(tracks.stride, present);
    }

    // Every row is as long as the longest track, so a few long tracks among
    // many short ones would make a table growing with the square of the
    // data's size.  Each time takes at least one byte of the data, and sound
    // data pads its table little: a table with more slots than the data has
    // bytes is refused whole.
    if (static_cast<std::uint64_t>(tracks.trackCount) * tracks.stride > size)
        return SyncTracks{};

    // Second pass: the times, track after track, each row `stride` long.
    tracks.times.assign(static_cast<std::size_t>(tracks.trackCount) * tracks.stride, 0);
    cursor = tracksStart;
    for (unsigned k = 0; k < tracks.trackCount; ++k) {
        readText(cursor, name);
        readInt(cursor);
        for (unsigned i = 0; i < tracks.counts[k]; ++i)
            tracks.times[static_cast<std::size_t>(k) * tracks.stride + i] = syncSecondsToBytes(readFloat(cursor));
    }
    return tracks;
}

SyncTracks readCompiledInSyncTracks(const char* baseName)
{
    const Resource dat = findResource(kMusicResourceType, (std::string(baseName) + "_DAT").c_str());
    return readSyncTracks(dat.data, dat.size);
}

MusicPlayer::MusicPlayer(PlatformWindow* window, const char* baseName) : tracks_(readCompiledInSyncTracks(baseName))
{
    startStream(window, (std::string(baseName) + "_MP3").c_str());
}

void MusicPlayer::startStream(PlatformWindow* window, const char* mp3Name)
{
    AudioBackend& output = audio();
    if (!output.init(kDefaultAudioDevice, 44100, 0, window)) {
        platform().showMessage(window, "Could not initialize BASS, switching to no-sound", kMessageCaption);
        output.init(kNoSoundDevice, 44100, 0, window);
    }
    const Resource mp3 = findResource(kMusicResourceType, mp3Name);
    stream_ = output.streamCreateFile(true, mp3.data, 0, mp3.size, 0);
    if (stream_ == 0)
        platform().showMessage(window, "Failed to initialize BASS-Stream", kMessageCaption);
    if (!output.start())
        platform().showMessage(window, "Failed to start BASS", kMessageCaption);
    if (!output.streamPlay(stream_, false, kStreamLoop))
        platform().showMessage(window, "Can't play BASS-Stream", kMessageCaption);
}

MusicPlayer::~MusicPlayer()
{
    AudioBackend& output = audio();
    output.stop();
    output.streamFree(stream_);
    output.free();
}

bool MusicPlayer::eventDue(int track)
{
    const std::uint32_t position = audio().channelGetPosition(stream_);
    if (track < 1 || static_cast<unsigned>(track) > tracks_.trackCount)
        return false;
    const unsigned row = static_cast<unsigned>(track - 1);
    const unsigned next = tracks_.cursors[row];
    if (next >= tracks_.counts[row])
        return false;
    if (tracks_.times[static_cast<std::size_t>(row) * tracks_.stride + next] > position)
        return false;
    tracks_.cursors[row] = next + 1;
    return true;
}
