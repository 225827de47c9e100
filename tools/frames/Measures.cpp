#include "Measures.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

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
    return flickerShareWithout(first, second, third,
                               Mask{first.width, first.height, std::vector<unsigned char>(first.rgb.size() / 3, 0)}, levels);
}

double flickerShareWithout(const Picture& first, const Picture& second, const Picture& third, const Mask& leftOut,
                           int levels)
{
    if (first.width != second.width || first.height != second.height || second.width != third.width ||
        second.height != third.height || leftOut.width != first.width || leftOut.height != first.height)
        return 1.0;
    int flipped = 0, counted = 0;
    for (int y = 0; y < first.height; ++y)
        for (int x = 0; x < first.width; ++x) {
            if (leftOut.at(x, y))
                continue;
            ++counted;
            const double there = (second.luma(x, y) - first.luma(x, y)) * 255;
            const double back = (third.luma(x, y) - second.luma(x, y)) * 255;
            flipped += (there > levels && back < -levels) || (there < -levels && back > levels);
        }
    return counted ? double(flipped) / counted : 0.0;
}

}  // namespace frames

namespace frames {

namespace {

// The largest difference of two pixels over the three channels.
int channelStep(const Picture& frame, int x, int y, int x2, int y2)
{
    const unsigned char* p = frame.at(x, y);
    const unsigned char* q = frame.at(x2, y2);
    int step = 0;
    for (int c = 0; c < 3; ++c)
        step = std::max(step, std::abs(int(p[c]) - int(q[c])));
    return step;
}

}  // namespace

Banding bandSteps(const Picture& frame, int levels, int edge, int minimum)
{
    return bandStepsWithout(frame, Mask{frame.width, frame.height, std::vector<unsigned char>(frame.rgb.size() / 3, 0)},
                            levels, edge, minimum);
}

Banding bandStepsWithout(const Picture& frame, const Mask& leftOut, int levels, int edge, int minimum)
{
    const int w = frame.width, h = frame.height;
    // Label the smooth regions, flooding across neighbours within `levels`;
    // the pixels left out belong to none (label -2) and stop the flood.
    std::vector<int> label(size_t(w) * h, -1), size;
    for (int i = 0; i < w * h; ++i)
        if (leftOut.on[size_t(i)])
            label[size_t(i)] = -2;
    std::vector<int> stack;
    for (int start = 0; start < w * h; ++start) {
        if (label[size_t(start)] != -1)
            continue;
        const int id = int(size.size());
        size.push_back(0);
        label[size_t(start)] = id;
        stack.push_back(start);
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            ++size[size_t(id)];
            const int x = i % w, y = i / w;
            const int nx[4] = {x - 1, x + 1, x, x}, ny[4] = {y, y, y - 1, y + 1};
            for (int k = 0; k < 4; ++k) {
                if (nx[k] < 0 || nx[k] >= w || ny[k] < 0 || ny[k] >= h)
                    continue;
                const int j = ny[k] * w + nx[k];
                if (label[size_t(j)] == -1 && channelStep(frame, x, y, nx[k], ny[k]) <= levels) {
                    label[size_t(j)] = id;
                    stack.push_back(j);
                }
            }
        }
    }
    // A region is flat when it spans at most `levels` in every channel: a
    // gradient also floods into one region, but spans more.
    std::vector<std::array<int, 6>> range(size.size(), {255, 255, 255, 0, 0, 0});
    for (int i = 0; i < w * h; ++i) {
        if (label[size_t(i)] < 0)
            continue;
        const unsigned char* p = frame.at(i % w, i / w);
        std::array<int, 6>& r = range[size_t(label[size_t(i)])];
        for (int c = 0; c < 3; ++c)
            r[size_t(c)] = std::min(r[size_t(c)], int(p[c])), r[size_t(c) + 3] = std::max(r[size_t(c) + 3], int(p[c]));
    }
    auto flat = [&](int id) {
        const std::array<int, 6>& r = range[size_t(id)];
        return size[size_t(id)] >= minimum && r[3] - r[0] <= levels && r[4] - r[1] <= levels && r[5] - r[2] <= levels;
    };
    Banding b;
    auto pair = [&](int x, int y, int x2, int y2) {
        const int a = label[size_t(y) * w + x], c = label[size_t(y2) * w + x2];
        if (a < 0 || c < 0 || a == c || !flat(a) || !flat(c))
            return;
        const int step = channelStep(frame, x, y, x2, y2);
        if (step > edge)
            return;
        ++b.steps;
        if (step > b.largest)
            b.largest = step, b.x = x, b.y = y;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (x + 1 < w)
                pair(x, y, x + 1, y);
            if (y + 1 < h)
                pair(x, y, x, y + 1);
        }
    return b;
}

Mask changing(const Picture& frame, const std::vector<Picture>& others, int levels, int rim)
{
    const int w = frame.width, h = frame.height;
    Mask moved{w, h, std::vector<unsigned char>(size_t(w) * h, 0)};
    for (const Picture& other : others) {
        if (other.width != w || other.height != h) {
            std::fill(moved.on.begin(), moved.on.end(), 1);
            return moved;
        }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const unsigned char* p = frame.at(x, y);
                const unsigned char* q = other.at(x, y);
                for (int c = 0; c < 3; ++c)
                    if (std::abs(int(p[c]) - int(q[c])) > levels)
                        moved.on[size_t(y) * w + x] = 1;
            }
    }
    Mask grown = moved;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (moved.at(x, y))
                for (int dy = -rim; dy <= rim; ++dy)
                    for (int dx = -rim; dx <= rim; ++dx) {
                        const int nx = x + dx, ny = y + dy;
                        if (nx >= 0 && ny >= 0 && nx < w && ny < h)
                            grown.on[size_t(ny) * w + nx] = 1;
                    }
    return grown;
}

double streakEnd(const Picture& frame, int y0, int y1, int margin)
{
    y0 = std::max(0, y0), y1 = std::min(frame.height - 1, y1);
    margin = std::min(margin, frame.width / 2);
    if (y1 < y0 || margin <= 0)
        return 0;
    double left = 0, right = 0;
    for (int y = y0; y <= y1; ++y)
        for (int k = 0; k < margin; ++k) {
            left += frame.luma(k, y);
            right += frame.luma(frame.width - 1 - k, y);
        }
    return std::max(left, right) * 255 / (double(margin) * (y1 - y0 + 1));
}

namespace {

// One frame of the wash on one channel: the chart's level `chart` blended
// over `picture` with an opacity of alpha255 / 255, each share rounded.
int washStep(int picture, int chart, int alpha255)
{
    const int mixed = int(std::lround(chart * alpha255 / 255.0)) + int(std::lround(picture * (255 - alpha255) / 255.0));
    return std::min(mixed, 255);
}

// Where a white pixel rests under the two washes for each chart level.
std::array<unsigned char, 256> restingLevels()
{
    std::array<unsigned char, 256> rest{};
    for (int chart = 0; chart < 256; ++chart) {
        int v = 255;
        for (int alpha255 : {26, 13})     // 0.1 and 0.05 of 255
            for (int frame = 0; frame < 1000; ++frame)
                v = washStep(v, chart, alpha255);
        rest[size_t(chart)] = static_cast<unsigned char>(v);
    }
    return rest;
}

}  // namespace

Picture washRest(const Picture& chart, int width, int height)
{
    static const std::array<unsigned char, 256> rest = restingLevels();
    const double fogShare = (700.0 - 250.0) / (700.0 - 10.0);   // of the chart's own colour
    const double fog[3] = {0.2 * 255, 0.4 * 255, 0.6 * 255};
    Picture out;
    out.width = width;
    out.height = height;
    out.rgb.resize(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        // The chart's first row lies at the bottom of the frame; linear
        // filtering between texel centres, clamped at the border.
        const double ty = (1.0 - (y + 0.5) / height) * chart.height - 0.5;
        const int y0 = std::clamp(int(std::floor(ty)), 0, chart.height - 1), y1 = std::min(y0 + 1, chart.height - 1);
        const double fy = std::clamp(ty - std::floor(ty), 0.0, 1.0);
        for (int x = 0; x < width; ++x) {
            const double tx = (x + 0.5) / width * chart.width - 0.5;
            const int x0 = std::clamp(int(std::floor(tx)), 0, chart.width - 1), x1 = std::min(x0 + 1, chart.width - 1);
            const double fx = std::clamp(tx - std::floor(tx), 0.0, 1.0);
            for (int c = 0; c < 3; ++c) {
                const double top = chart.at(x0, y0)[c] * (1 - fx) + chart.at(x1, y0)[c] * fx;
                const double bottom = chart.at(x0, y1)[c] * (1 - fx) + chart.at(x1, y1)[c] * fx;
                const double texel = top * (1 - fy) + bottom * fy;
                const double level = fogShare * 0.6 * texel + (1 - fogShare) * fog[c];
                out.rgb[(size_t(y) * width + x) * 3 + size_t(c)] = rest[size_t(std::lround(level))];
            }
        }
    }
    return out;
}

}  // namespace frames
