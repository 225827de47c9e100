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

#include <algorithm>
#include "analysis.hpp"
#include "master.hpp"
#include "mixer.hpp"
#include "score.hpp"
#include "sync.hpp"
#include "wav.hpp"

using namespace music;

namespace {

constexpr double kSongSeconds = 257.0;  // final chord at ~249 s, cut at the last section time
constexpr double kTargetLufs = -14.0;
constexpr double kCeilingDb = -3.4;     // headroom for the MP3 encoder's overshoot (the cloth hits' dense crack overshoots most)

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

const char* verdict(bool ok) { return ok ? "ok" : "FAILS"; }

// What a listener hears at the hits and across the parts, each figure with
// the goal beside it: every sync time an accent standing out of the whole
// track, no dip before it, parts of different loudness and a track whose
// loudness moves.
void hitsAndParts(const SongTimes& times, const Stereo& s) {
    const double end = times.sections.back();
    std::vector<double> onset = onsetStrength(s);
    const double p95 = fluxPercentile(onset, 0.95, end, kOnsetHop);
    std::vector<double> sync = times.accents;
    sync.insert(sync.end(), times.hits.begin(), times.hits.end());
    std::printf("onset (256-sample hops at 22.05 kHz, within 35 ms) over the track's 95th percentile, "
                "and the dip in the 100 ms before (goal: onset >= 1.5x, dip <= 6 dB):\n");
    double lowest = 1e9, deepest = -1e9;
    std::vector<double> dips;
    int weak = 0, dipping = 0;
    for (double t : sync) {
        double ratio = onsetRatio(onset, t, 0.035, p95), dip = dipBeforeDb(s, t);
        lowest = std::min(lowest, ratio);
        deepest = std::max(deepest, dip);
        dips.push_back(dip);
        weak += ratio < 1.5;
        dipping += dip > 6.0;
        std::printf("   %7.2f s  %5.2fx  %5.1f dB\n", t, ratio, dip);
    }
    std::sort(dips.begin(), dips.end());
    std::printf("onsets: lowest %.2fx, %d of %zu under 1.5x (goal: none) %s\n", lowest, weak, sync.size(),
                verdict(weak == 0));
    std::printf("dips before the hits: deepest %.1f dB, median %.1f dB, %d over 6 dB (goal: none) %s\n", deepest,
                dips[dips.size() / 2], dipping, verdict(dipping == 0));

    std::printf("loudness per part (LUFS):");
    double low = 1e9, high = -1e9;
    for (size_t k = 0; k < times.sections.size(); ++k) {
        double lufs = partLoudness(times, s, int(k + 1));
        std::printf(" %zu: %.1f", k + 1, lufs);
        if (k >= 2 && k <= 8) low = std::min(low, lufs), high = std::max(high, lufs);
    }
    std::printf("\nparts 3-9 span %.1f LU (goal: >= 4) %s\n", high - low, verdict(high - low >= 4.0));
    double closest = partsClosestLu(times, s);
    std::printf("neighbouring parts among 3-9 differ by at least %.1f LU (goal: >= 1) %s\n", closest,
                verdict(closest >= 1.0));
    double lra = loudnessRange(s), lufs = integratedLoudness(s), tp = 20.0 * std::log10(truePeak(s));
    std::printf("loudness range %.1f LU (goal: >= 7) %s\n", lra, verdict(lra >= 7.0));
    std::printf("integrated %.2f LUFS (goal: -14 +- 1) %s; true peak %.2f dBTP (goal: <= -1) %s\n", lufs,
                verdict(std::fabs(lufs + 14.0) <= 1.0), tp, verdict(tp <= -1.0));
    std::printf("%zu sample frames (goal: 11333700) %s\n", s.size(), verdict(s.size() == 11333700));
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

    hitsAndParts(times, s);
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
