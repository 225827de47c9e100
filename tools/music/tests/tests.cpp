// Checks for the pieces whose faults would not be heard right away but would
// put the music out of step with the picture or off its level.
// Build: see make-music.sh. Exits non-zero on the first failing group.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../harmony.hpp"
#include "../master.hpp"
#include "../score.hpp"
#include "../sync.hpp"

using namespace music;

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
    if (!ok) {
        std::fprintf(stderr, "FAIL: %s\n", what.c_str());
        ++failures;
    }
}

// The parser must keep CR LF framing and the Windows-1252 track names intact
// and reject a file that ends before its announced times.
void syncParsing(const std::string& path) {
    std::vector<SyncTrack> t = readSyncFile(path);
    check(t.size() == 3, "three tracks");
    check(t[0].times.size() == 11 && t[1].times.size() == 3 && t[2].times.size() == 28, "time counts");
    check(t[1].name.size() == 19 && t[1].name[9] == '\xDF', "Windows-1252 name kept byte for byte");
    check(std::fabs(t[0].times.back() - 252.2) < 1e-9, "last section time");
    bool threw = false;
    try {
        parseSync("1\r\nA\r\n3\r\n1.0\r\n2.0\r\n");
    } catch (const std::exception&) {
        threw = true;
    }
    check(threw, "truncated file rejected");
}

// Every section downbeat, accent and the final chord must land on the exact
// sample of its sync time, whatever tempo pieces the grid uses.
void gridAlignment(const std::string& path) {
    SongTimes times = songTimes(readSyncFile(path));
    std::vector<Grid> g = sectionGrids(times);
    check(g.size() == 11, "eleven sections");
    for (size_t k = 1; k < g.size(); ++k) {
        int64_t want = std::llround(times.sections[k - 1] * kRate);
        check(g[k].sample(0) == want, "downbeat of section " + std::to_string(k));
        check(g[k - 1].sample(g[k - 1].beats()) == want, "end of section " + std::to_string(k - 1));
    }
    for (double a : times.accents) {
        double b = g[1].beatAt(a);
        check(std::fabs(b - std::round(b)) < 1e-6 && int(std::round(b)) % 16 == 0, "accent on a phrase start");
        check(g[1].sample(std::round(b)) == std::llround(a * kRate), "accent sample");
    }
    check(std::fabs(60.0 / g[5].period(64) - 160.0) < 3.0, "accelerando arrives near 160 bpm");
    check(60.0 / g[10].period(40) < 150.0, "ritardando slows down");
}

void harmonyHelpers() {
    check(scaleShift(76, -2) == 72, "E5 third below is C5");
    check(scaleShift(69, -2) == 65, "A4 third below is F4");
    check(scaleShift(72, -2) == 69, "C5 third below is A4");
    check(scaleShift(68, 1) == 69, "G#4 one step up is A4");
    std::vector<MelodyNote> m = parseMelody("A4:2 -:1 C5:1");
    check(m.size() == 2 && m[1].beat == 1.5 && m[1].pitch == 72, "melody timing and rests");
}

// A 1 kHz sine at amplitude 0.1 in both channels reads about -20 LUFS on a
// BS.1770 meter; silence padding must be gated away.
void loudnessMeter() {
    Stereo s(size_t(kRate) * 12);
    for (size_t i = 0; i < s.size() / 2; ++i) {
        float v = float(0.1 * std::sin(kTwoPi * 1000.0 * double(i) / kRate));
        s.l[i] = s.r[i] = v;
    }
    double lufs = integratedLoudness(s);
    check(std::fabs(lufs - (-20.0)) < 0.3, "sine loudness " + std::to_string(lufs));
    check(std::fabs(truePeak(s) - 0.1) < 0.002, "sine true peak");
}

}  // namespace

int main(int argc, char** argv) {
    std::string sync = argc > 1 ? argv[1] : "res/sync.txt";
    syncParsing(sync);
    gridAlignment(sync);
    harmonyHelpers();
    loudnessMeter();
    if (failures) return 1;
    std::printf("music tests passed\n");
    return 0;
}
