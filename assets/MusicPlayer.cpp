#include "assets/MusicPlayer.h"

#include <string>

#include "assets/Resources.h"
#include "platform/Platform.h"

MusicPlayer* theMusicPlayer = nullptr;

namespace {

const char* const kMusicResourceType = "ZYT_MUCKE";
const char* const kMessageCaption = "Shit !";

}  // namespace

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

std::uint32_t MusicPlayer::position() const
{
    return audio().channelGetPosition(stream_);
}

bool MusicPlayer::lastEventTime(int track, std::uint32_t& time) const
{
    if (track < 1 || static_cast<unsigned>(track) > tracks_.trackCount)
        return false;
    const unsigned row = static_cast<unsigned>(track - 1);
    const unsigned next = tracks_.cursors[row];
    if (next == 0)
        return false;
    time = tracks_.times[static_cast<std::size_t>(row) * tracks_.stride + next - 1];
    return true;
}

bool MusicPlayer::eventDue(int track)
{
    const std::uint32_t position = this->position();
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
