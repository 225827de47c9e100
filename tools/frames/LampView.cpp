#include "LampView.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <stdexcept>
#include <tuple>

#include "SceneView.hpp"

namespace frames {

namespace {

// Faces joined by a shared corner belong to one lamp: a union-find over
// the faces, keyed by the corners' positions.
std::vector<int> lampOfFace(const SceneObject& lamps)
{
    const std::size_t n = lamps.faces.size();
    std::vector<std::size_t> parent(n);
    std::iota(parent.begin(), parent.end(), std::size_t{0});
    auto root = [&](std::size_t i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    std::map<std::tuple<long, long, long>, std::size_t> firstFaceAt;
    for (std::size_t i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) {
            const float* v = lamps.faces[i].vertex[k];
            const auto key = std::make_tuple(std::lround(v[0] * 100), std::lround(v[1] * 100), std::lround(v[2] * 100));
            const auto found = firstFaceAt.emplace(key, i);
            if (!found.second)
                parent[root(i)] = root(found.first->second);
        }
    std::map<std::size_t, int> number;
    std::vector<int> lamp(n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto found = number.emplace(root(i), int(number.size()) + 1);
        lamp[i] = found.first->second;
    }
    return lamp;
}

}  // namespace

struct LampView::Data {
    Scene scene;
    const SceneObject* lamps = nullptr;
    std::vector<int> lampOfFace;
    int lampCount = 0;
    View view;
    double fogEnd = 0;
};

LampView::LampView(const std::string& scenePath, const std::string& lampObject, const View& view, double fogEnd)
    : data_(new Data)
{
    try {
        data_->scene = readScene(scenePath);
        for (const SceneObject& o : data_->scene.objects)
            if (lampObject == o.name)
                data_->lamps = &o;
        if (data_->lamps == nullptr || data_->scene.cameras.empty())
            throw std::runtime_error(scenePath + ": no object " + lampObject + " or no camera");
        data_->lampOfFace = lampOfFace(*data_->lamps);
        for (int l : data_->lampOfFace)
            data_->lampCount = std::max(data_->lampCount, l);
        data_->view = view;
        data_->fogEnd = fogEnd;
    } catch (...) {
        delete data_;
        throw;
    }
}

LampView::~LampView()
{
    delete data_;
}

int LampView::lampCount() const
{
    return data_->lampCount;
}

std::vector<int> LampView::lampPixels(unsigned sceneFrame) const
{
    const SceneObject* lamps = data_->lamps;
    const std::vector<int>& lampOfFace = data_->lampOfFace;
    SceneRaster r = rasterise(data_->scene, sceneFrame, data_->view, [&](const SceneObject& o, std::size_t face) {
        return &o == lamps ? lampOfFace[face] : 0;
    });
    for (size_t at = 0; at < r.id.size(); ++at)
        if (r.depth[at] > data_->fogEnd)
            r.id[at] = 0;
    return r.id;
}

LampFrame LampView::measure(unsigned sceneFrame) const
{
    return lampFrame(lampPixels(sceneFrame), data_->view.width, data_->view.height);
}

LampFrame lampFrame(const std::vector<int>& lampPixels, int width, int height, int minPixels)
{
    struct Extent {
        int pixels = 0, x0 = 1 << 30, x1 = -1, y0 = 1 << 30, y1 = -1;
    };
    std::map<int, Extent> lamps;
    LampFrame result;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int l = lampPixels[size_t(y) * width + x];
            if (l == 0)
                continue;
            Extent& e = lamps[l];
            ++e.pixels;
            e.x0 = std::min(e.x0, x), e.x1 = std::max(e.x1, x), e.y0 = std::min(e.y0, y), e.y1 = std::max(e.y1, y);
            result.atTopEdge = result.atTopEdge || y == 0;
        }
    std::vector<Extent> seen;
    for (const auto& [number, e] : lamps) {
        result.largestShare = std::max(result.largestShare, double(e.pixels) / (double(width) * height));
        if (e.pixels >= minPixels)
            seen.push_back(e);
    }
    for (std::size_t i = 0; i < seen.size(); ++i)
        for (std::size_t j = i + 1; j < seen.size(); ++j) {
            const Extent &a = seen[i], &b = seen[j];
            const int overlap = std::min(a.x1, b.x1) - std::max(a.x0, b.x0) + 1;
            const int narrower = std::min(a.x1 - a.x0, b.x1 - b.x0) + 1;
            const int gap = std::max(a.y0, b.y0) - std::min(a.y1, b.y1) - 1;
            const int taller = std::max(a.y1 - a.y0, b.y1 - b.y0) + 1;
            result.stacked = result.stacked || (2 * overlap >= narrower && gap >= 0 && gap <= taller);
        }
    return result;
}

double centreSpreadWithout(const Picture& frame, const Mask& mask)
{
    auto masked = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < mask.width && ny < mask.height && mask.at(nx, ny))
                    return true;
            }
        return false;
    };
    double sum = 0, squares = 0;
    int n = 0;
    for (int y = frame.height / 4; y < frame.height * 3 / 4; ++y)
        for (int x = frame.width / 4; x < frame.width * 3 / 4; ++x) {
            if (masked(x, y))
                continue;
            const double l = frame.luma(x, y);
            sum += l, squares += l * l, ++n;
        }
    if (n == 0)
        return 0;
    const double mean = sum / n;
    return std::sqrt(std::max(0.0, squares / n - mean * mean));
}

}  // namespace frames
