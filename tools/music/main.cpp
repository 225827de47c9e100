// Renders the demo soundtrack to a WAV file.
// Usage: music SYNC_FILE OUT_WAV
// The section starts and accents come from the sync file, so music and
// visuals share one timeline. Output is identical on every run.
#include <cmath>
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "master.hpp"
#include "mixer.hpp"
#include "score.hpp"
#include "sync.hpp"
#include "wav.hpp"

using namespace music;

namespace {

constexpr double kSongSeconds = 257.0;  // final chord at ~252 s, then its tail
constexpr double kTargetLufs = -13.6;
constexpr double kCeilingDb = -2.6;     // headroom for the MP3 encoder's overshoot

// Echo time looked up once per block: the tempo barely moves within 512
// samples and the delay line smooths the steps anyway.
std::function<double(int64_t)> echoTimeline(const std::vector<Grid>& grids, size_t length) {
    auto table = std::make_shared<std::vector<double>>();
    for (size_t i = 0; i < length; i += 512) table->push_back(echoSeconds(grids, double(i) / kRate));
    return [table](int64_t i) { return (*table)[size_t(i) / 512]; };
}

// Gentle fade over the last moments so the file ends in true silence.
void fadeOut(Stereo& s, double fromSec, double toSec) {
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / kRate;
        double g = t < fromSec ? 1.0 : (t >= toSec ? 0.0 : 0.5 + 0.5 * std::cos(kPi * (t - fromSec) / (toSec - fromSec)));
        s.l[i] = float(s.l[i] * g);
        s.r[i] = float(s.r[i] * g);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SYNC_FILE OUT_WAV\n", argv[0]);
        return 2;
    }
    try {
        SongTimes times = songTimes(readSyncFile(argv[1]));
        std::vector<Grid> grids = sectionGrids(times);
        size_t length = size_t(std::llround(kSongSeconds * kRate));
        Mixer mixer(length);
        compose(times, grids, mixer);
        Stereo mix = mixer.mixdown(echoTimeline(grids, length));
        fadeOut(mix, times.sections.back() + 3.3, kSongSeconds - 0.3);
        MasterResult m = master(mix, kTargetLufs, kCeilingDb);
        writeWav(argv[2], mix);
        std::printf("rendered %.2f s: %.2f LUFS, true peak %.2f dBTP, master gain %+.2f dB, "
                    "limiter up to %.1f dB\n",
                    double(length) / kRate, m.lufs, m.truePeakDb, m.gainDb, m.maxReductionDb);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "music: %s\n", e.what());
        return 1;
    }
    return 0;
}
