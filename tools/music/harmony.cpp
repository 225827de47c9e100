#include "harmony.hpp"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace music {

namespace {

int pitchClass(char letter) {
    switch (letter) {
        case 'C': return 0;
        case 'D': return 2;
        case 'E': return 4;
        case 'F': return 5;
        case 'G': return 7;
        case 'A': return 9;
        case 'B': return 11;
    }
    throw std::runtime_error(std::string("harmony: bad note letter ") + letter);
}

// "C#5" -> 73. Accidental '#' or 'b', octave digit last.
int parsePitch(const std::string& s) {
    int pc = pitchClass(s.at(0));
    size_t i = 1;
    if (i < s.size() && s[i] == '#') pc++, i++;
    else if (i < s.size() && s[i] == 'b') pc--, i++;
    int octave = std::stoi(s.substr(i));
    return 12 * (octave + 1) + pc;
}

const int kSteps[7] = {0, 2, 3, 5, 7, 8, 10};  // A B C D E F G above A

}  // namespace

std::vector<int> Chord::triad() const { return {root, root + (minor ? 3 : 4), root + 7}; }

Chord parseChord(const std::string& name) {
    Chord c;
    int pc = pitchClass(name.at(0));
    size_t i = 1;
    if (i < name.size() && name[i] == '#') pc++, i++;
    else if (i < name.size() && name[i] == 'b') pc--, i++;
    c.minor = i < name.size() && name[i] == 'm';
    c.root = 48 + (pc + 12) % 12;
    return c;
}

std::vector<Chord> parseProgression(const std::string& text) {
    std::istringstream in(text);
    std::vector<Chord> out;
    std::string tok;
    while (in >> tok) out.push_back(parseChord(tok));
    return out;
}

std::vector<int> closeVoicing(const Chord& c, int low) {
    std::vector<int> notes;
    for (int n : c.triad()) {
        while (n < low) n += 12;
        while (n >= low + 12) n -= 12;
        notes.push_back(n);
    }
    std::sort(notes.begin(), notes.end());
    return notes;
}

int bassNote(const Chord& c) {
    int n = c.root;
    while (n >= 45) n -= 12;
    while (n < 33) n += 12;
    return n;
}

std::vector<MelodyNote> parseMelody(const std::string& text) {
    std::istringstream in(text);
    std::vector<MelodyNote> out;
    std::string tok;
    double beat = 0.0;
    while (in >> tok) {
        size_t colon = tok.find(':');
        if (colon == std::string::npos) throw std::runtime_error("melody: missing length in " + tok);
        double len = std::stod(tok.substr(colon + 1)) * 0.5;
        std::string p = tok.substr(0, colon);
        if (p != "-") out.push_back({beat, len, parsePitch(p)});
        beat += len;
    }
    return out;
}

int scaleShift(int pitch, int steps) {
    int rel = ((pitch - 9) % 12 + 12) % 12;  // distance above the A below
    int a = pitch - rel;
    int degree = 0;
    for (int d = 0; d < 7; ++d)
        if (kSteps[d] == rel || kSteps[d] == rel - 1) degree = d;  // G# counts as G
    int idx = degree + steps;
    int oct = idx >= 0 ? idx / 7 : -((-idx + 6) / 7);
    return a + 12 * oct + kSteps[idx - 7 * oct];
}

}  // namespace music
