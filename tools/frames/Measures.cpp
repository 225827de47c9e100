#include "Measures.hpp"

#include <algorithm>
#include <cmath>

namespace frames {

int Mask::count() const
{
    return int(std::count(on.begin(), on.end(), 1));
}

namespace {

// The card's texel under a frame pixel, the texture stretched over the frame
// with its bottom row at the bottom (nearest texel).
double cardTexel(const Picture& frame, const Picture& card, int x, int y)
{
    const int s = std::min(card.width - 1, int((x + 0.5) * card.width / frame.width));
    const int t = std::min(card.height - 1, int((frame.height - y - 0.5) * card.height / frame.height));
    return card.luma(s, t);
}

}  // namespace

CardContrast cardContrast(const Picture& frame, const Picture& card, int margin)
{
    int x0 = frame.width, y0 = frame.height, x1 = -1, y1 = -1;
    double letters = 0;
    int letterCount = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if (cardTexel(frame, card, x, y) >= 0.9) {
                letters += frame.luma(x, y);
                ++letterCount;
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    double surround = 0;
    int surroundCount = 0;
    for (int y = std::max(0, y0 - margin); y <= std::min(frame.height - 1, y1 + margin); ++y)
        for (int x = std::max(0, x0 - margin); x <= std::min(frame.width - 1, x1 + margin); ++x)
            if (cardTexel(frame, card, x, y) < 0.5) {
                surround += frame.luma(x, y);
                ++surroundCount;
            }
    CardContrast c{};
    c.letterPixels = letterCount;
    c.surroundPixels = surroundCount;
    c.letters = letterCount ? letters / letterCount : 0;
    c.surround = surroundCount ? surround / surroundCount : 0;
    c.contrast = c.letters - c.surround;
    return c;
}

double meanLuma(const Picture& frame)
{
    double sum = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            sum += frame.luma(x, y);
    return sum / (double(frame.width) * frame.height);
}

double blackShare(const Picture& frame, int level)
{
    int black = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const unsigned char* p = frame.at(x, y);
            black += p[0] <= level && p[1] <= level && p[2] <= level;
        }
    return double(black) / (double(frame.width) * frame.height);
}

double litShare(const Picture& frame, const Mask& mask, double threshold)
{
    int inside = 0, lit = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if (mask.at(x, y)) {
                ++inside;
                lit += frame.luma(x, y) >= threshold;
            }
    return inside ? double(lit) / inside : 0.0;
}

double centreSpread(const Picture& frame)
{
    double sum = 0, squares = 0;
    int n = 0;
    for (int y = frame.height / 4; y < frame.height * 3 / 4; ++y)
        for (int x = frame.width / 4; x < frame.width * 3 / 4; ++x) {
            const double l = frame.luma(x, y);
            sum += l, squares += l * l, ++n;
        }
    const double mean = sum / n;
    return std::sqrt(std::max(0.0, squares / n - mean * mean));
}

double flickerShare(const Picture& first, const Picture& second, const Picture& third, int levels)
{
    if (first.width != second.width || first.height != second.height || second.width != third.width ||
        second.height != third.height)
        return 1.0;
    int flipped = 0;
    for (int y = 0; y < first.height; ++y)
        for (int x = 0; x < first.width; ++x) {
            const double there = (second.luma(x, y) - first.luma(x, y)) * 255;
            const double back = (third.luma(x, y) - second.luma(x, y)) * 255;
            flipped += (there > levels && back < -levels) || (there < -levels && back > levels);
        }
    return double(flipped) / (double(first.width) * first.height);
}

}  // namespace frames
