// Renders the demo soundtrack to a WAV file.
// Usage: music SYNC_FILE OUT_WAV
//        music --report SYNC_FILE WAV   (figures of a rendered or decoded track)
// The section starts and accents come from the sync file, so music and
// visuals share one timeline. Output is identical on every run.
#include <cmath>
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis.hpp"
#include "master.hpp"
#include "mixer.hpp"
#include "score.hpp"
#include "sync.hpp"
#include "wav.hpp"

using namespace music;

namespace {

constexpr double kSongSeconds = 257.0;  // final chord at ~249 s, cut at the last section time
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

// Prints what a listener checks against the picture: loudness, true peak,
// which sync times carry an onset that stands out, and how the ending decays
// before the program exits at the last section time.
void report(const SongTimes& times, const Stereo& s) {
    double end = times.sections.back();
    std::printf("integrated %.2f LUFS, true peak %.2f dBTP\n", integratedLoudness(s),
                20.0 * std::log10(truePeak(s)));
    std::vector<double> flux = energyFlux(s);
    double threshold = fluxPercentile(flux, 0.95, end);
    std::vector<double> sync = times.accents;
    sync.insert(sync.end(), times.hits.begin(), times.hits.end());
    int standing = 0;
    std::string missed;
    for (double t : sync) {
        if (onsetNear(flux, t, 0.035, threshold)) ++standing;
        else missed += " " + std::to_string(t).substr(0, 6);
    }
    std::printf("sync times with a standing-out onset: %d of %zu%s%s\n", standing, sync.size(),
                missed.empty() ? "" : "; missed:", missed.c_str());
    double last = 0.0;
    for (size_t k = 0; k < flux.size(); ++k)
        if (flux[k] > threshold) last = (double(k) + 1.5) * kFluxHop;
    double trackDb = rmsDb(s, 0.0, end), chordAt = 0.0;
    double chordDb = loudestWindowDb(s, 247.0, 250.5, &chordAt);
    double exitDb = rmsDb(s, end - 0.1, end);
    double afterDb = loudestWindowDb(s, end, double(s.size()) / kRate - 0.1);
    std::printf("last standing-out onset %.2f s; track RMS %.1f dB; loudest 100 ms in 247-250.5 s: %.1f dB "
                "at %.2f s (%+.1f dB against the track); %.2f-%.2f s: %.1f dB (%.1f dB below it); "
                "loudest after %.2f s: %.1f dB\n",
                last, trackDb, chordDb, chordAt, chordDb - trackDb, end - 0.1, end, exitDb, chordDb - exitDb,
                end, afterDb);
    std::printf("the last second before the cut: %.1f dB from %.2f-%.2f s to %.2f-%.2f s\n",
                lastSecondFallDb(s, end), end - 1.1, end - 1.0, end - 0.1, end);

    std::vector<Grid> grids = sectionGrids(times);
    double worst = 0.0, sum = 0.0;
    for (double h : times.hits) {
        double off = gridAt(grids, h).offStep(h, 0.25);
        worst = std::max(worst, off);
        sum += off;
    }
    std::printf("cloth times off the sixteenths of their section: mean %.1f ms, worst %.1f ms\n",
                1000.0 * sum / double(times.hits.size()), 1000.0 * worst);

    double cloth0 = times.sections[5], cloth1 = times.sections[6];
    double kHz = octaveBandDb(s, cloth0, cloth1, 1000.0);
    std::printf("cloth section %.1f-%.1f s against 1 kHz: 63 Hz %+.1f dB, 125 Hz %+.1f dB, 250 Hz %+.1f dB, "
                "500 Hz %+.1f dB\n",
                cloth0, cloth1, octaveBandDb(s, cloth0, cloth1, 63.0) - kHz, octaveBandDb(s, cloth0, cloth1, 125.0) - kHz,
                octaveBandDb(s, cloth0, cloth1, 250.0) - kHz, octaveBandDb(s, cloth0, cloth1, 500.0) - kHz);

    // The breaths, against the arranged score mixed without them: their
    // depth in the track; how fast they fall and rise in the score as mixed,
    // before mastering's limiter blurs the shape; the track's quietest 20 ms.
    Mixer mixer(s.size());
    compose(times, grids, mixer);
    Stereo plain = mixer.mixdown([](int64_t) { return 0.3; }, false);
    Stereo mixed = mixer.mixdown([](int64_t) { return 0.3; });
    std::printf("breaths before the sync times (depth dB, fall ms, rise ms, lowest 20 ms dBFS):\n");
    for (double t : sync) {
        Breath track = breathBefore(s, plain, t), mix = breathBefore(mixed, plain, t);
        std::printf("   %7.2f s  %5.1f  %5.1f  %5.1f  %6.1f\n", t, track.depthDb, mix.fallMs, mix.riseMs,
                    track.lowestDb);
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool reporting = argc == 4 && std::string(argv[1]) == "--report";
    if (argc != 3 && !reporting) {
        std::fprintf(stderr, "usage: %s SYNC_FILE OUT_WAV | --report SYNC_FILE WAV\n", argv[0]);
        return 2;
    }
    try {
        if (reporting) {
            report(songTimes(readSyncFile(argv[2])), readWav(argv[3]));
            return 0;
        }
        SongTimes times = songTimes(readSyncFile(argv[1]));
        std::vector<Grid> grids = sectionGrids(times);
        size_t length = size_t(std::llround(kSongSeconds * kRate));
        Mixer mixer(length);
        compose(times, grids, mixer);
        Stereo mix = mixer.mixdown(echoTimeline(grids, length));
        // The last chord rings on into the program's end, so that the exit
        // cuts it off like a full stop; after that the file fades to silence.
        fadeOut(mix, times.sections.back() + 0.05, times.sections.back() + 2.0);
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
