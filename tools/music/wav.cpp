#include "wav.hpp"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace music {

namespace {

void put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void putTag(std::vector<uint8_t>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

int16_t quantize(float x, Rng& rng) {
    double v = x * 32767.0 + (rng.uni() - rng.uni());
    v = std::round(v);
    if (v > 32767) v = 32767;
    if (v < -32768) v = -32768;
    return int16_t(v);
}

}  // namespace

void writeWav(const std::string& path, const Stereo& s) {
    const uint32_t dataBytes = uint32_t(s.size() * 4);
    std::vector<uint8_t> b;
    b.reserve(44 + dataBytes);
    putTag(b, "RIFF");
    put32(b, 36 + dataBytes);
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 16);
    put16(b, 1);  // PCM
    put16(b, 2);
    put32(b, kRate);
    put32(b, kRate * 4);
    put16(b, 4);
    put16(b, 16);
    putTag(b, "data");
    put32(b, dataBytes);
    Rng rng(0xD17E);
    for (size_t i = 0; i < s.size(); ++i) {
        put16(b, uint16_t(quantize(s.l[i], rng)));
        put16(b, uint16_t(quantize(s.r[i], rng)));
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    if (!out) throw std::runtime_error("wav: cannot write " + path);
}

}  // namespace music
