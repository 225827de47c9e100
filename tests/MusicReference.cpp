#include "tests/MusicReference.h"

#include <cmath>
#include <mpg123.h>

#include "assets/Resources.h"

const std::vector<std::int16_t>& referenceMusic()
{
    static const std::vector<std::int16_t> music = [] {
        std::vector<std::int16_t> pcm;
        const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
        mpg123_init();
        mpg123_handle* handle = mpg123_new(nullptr, nullptr);
        if (handle == nullptr || mpg123_open_feed(handle) != MPG123_OK)
            return pcm;
        mpg123_feed(handle, mp3.data, mp3.size);
        std::vector<unsigned char> buffer(1 << 16);
        for (;;) {
            std::size_t got = 0;
            const int result = mpg123_read(handle, buffer.data(), buffer.size(), &got);
            const auto* samples = reinterpret_cast<const std::int16_t*>(buffer.data());
            pcm.insert(pcm.end(), samples, samples + got / 2);
            if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
                break;
        }
        mpg123_delete(handle);
        return pcm;
    }();
    return music;
}

namespace {

double monoAt(const std::int16_t* stereo, std::size_t frame)
{
    return (static_cast<double>(stereo[2 * frame]) + stereo[2 * frame + 1]) * 0.5;
}

}  // namespace

SoundMatch matchAgainstMusic(const std::int16_t* sound, std::size_t frames, std::size_t musicFrame, long maxLag)
{
    const std::vector<std::int16_t>& music = referenceMusic();
    const std::size_t musicFrames = music.size() / 2;
    double soundEnergy = 0.0;
    for (std::size_t i = 0; i < frames; ++i)
        soundEnergy += monoAt(sound, i) * monoAt(sound, i);
    SoundMatch best;
    best.correlation = -2.0;
    for (long lag = -maxLag; lag <= maxLag; ++lag) {
        const long start = static_cast<long>(musicFrame) + lag;
        if (start < 0 || static_cast<std::size_t>(start) + frames > musicFrames)
            continue;
        double product = 0.0;
        double musicEnergy = 0.0;
        for (std::size_t i = 0; i < frames; ++i) {
            const double m = monoAt(music.data(), static_cast<std::size_t>(start) + i);
            product += monoAt(sound, i) * m;
            musicEnergy += m * m;
        }
        const double correlation = product / std::sqrt(soundEnergy * musicEnergy + 1e-9);
        if (correlation > best.correlation)
            best = {lag, correlation};
    }
    return best;
}
