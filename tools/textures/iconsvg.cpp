// The icon as SVG, from the same layout and colours as the raster icon: the
// plate's gradient, glow, rim and shadow, the quince's two bulges, stalk and
// leaf. The leaf, a chain of discs in the pictures, becomes the outline
// those discs sweep.
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "icon.hpp"

namespace tex {

namespace {

std::string format(const char* pattern, ...) {
    char text[512];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

std::string hex(Col c) {
    auto byte = [](float v) { return int(std::lround(clamp01(v) * 255)); };
    return format("#%02x%02x%02x", byte(c.r), byte(c.g), byte(c.b));
}

std::string stop(float offset, Col c, float opacity = 1) {
    return format("<stop offset=\"%.3f\" stop-color=\"%s\" stop-opacity=\"%.3f\"/>", offset, hex(c).c_str(),
                  opacity);
}

std::string rect(float x0, float y0, float x1, float y1, float r, const std::string& attributes) {
    return format("<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" rx=\"%.2f\" %s/>\n", x0, y0, x1 - x0,
                  y1 - y0, r, attributes.c_str());
}

std::string verticalGradient(const char* id, float y0, float y1, const std::string& stops) {
    return format("<linearGradient id=\"%s\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"%.2f\" x2=\"0\" "
                  "y2=\"%.2f\">",
                  id, y0, y1) +
           stops + "</linearGradient>\n";
}

std::string plate(const Plate& p) {
    std::string defs, body;
    std::string plateStops;
    for (float t : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f})
        plateStops += stop(t, mix(palette::plateTop, palette::plateFoot, smooth(0.0f, 1.0f, t)));
    defs += verticalGradient("plate", p.y0, p.y1, plateStops);
    // The glow falls off as exp(-d^2) with d in glow radii; the gradient
    // reaches two radii.
    std::string glowStops;
    for (float d : {0.0f, 0.5f, 1.0f, 1.5f, 2.0f})
        glowStops += stop(d / 2, palette::glow, kGlowStrength * std::exp(-d * d));
    defs += format("<radialGradient id=\"glow\" gradientUnits=\"userSpaceOnUse\" cx=\"%.2f\" cy=\"%.2f\" "
                   "r=\"%.2f\">",
                   p.glowX, p.glowY, 2 * p.glowRx) +
            glowStops + "</radialGradient>\n";
    defs += verticalGradient("rim", p.y0, p.y1, stop(0, palette::rimTop) + stop(1, palette::rimFoot));
    defs += format("<filter id=\"shadow\" x=\"-0.2\" y=\"-0.2\" width=\"1.4\" height=\"1.4\">"
                   "<feGaussianBlur stdDeviation=\"%.2f\"/></filter>\n",
                   p.shadowBlur);

    body += rect(p.x0 + p.shadowDx, p.y0 + p.shadowDy, p.x1 + p.shadowDx, p.y1 + p.shadowDy, p.radius,
                 format("fill=\"#000000\" fill-opacity=\"%.2f\" filter=\"url(#shadow)\"", kShadowOpacity));
    body += rect(p.x0, p.y0, p.x1, p.y1, p.radius, format("fill=\"url(#plate)\" fill-opacity=\"%.2f\"", kPlateOpacity));
    body += rect(p.x0, p.y0, p.x1, p.y1, p.radius, "fill=\"url(#glow)\"");
    const float h = p.rimWidth / 2;
    body += rect(p.x0 + h, p.y0 + h, p.x1 - h, p.y1 - h, p.radius - h,
                 format("fill=\"none\" stroke=\"url(#rim)\" stroke-width=\"%.2f\"", p.rimWidth));
    return defs + "</defs>\n" + body;
}

// The outline a disc sweeps along the leaf's spine: one side out, the
// other back, offset along the spine's normal by the half width.
std::string leafPath(float cx, float fy, float s) {
    constexpr int kSteps = 32;
    std::string out, back;
    for (int k = 0; k <= kSteps; ++k) {
        const float t = float(k) / kSteps, dt = 1e-3f;
        const LeafPoint p = leafPoint(cx, fy, s, t);
        const LeafPoint a = leafPoint(cx, fy, s, std::max(0.0f, t - dt));
        const LeafPoint b = leafPoint(cx, fy, s, std::min(1.0f, t + dt));
        const float dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
        const float nx = -dy / len * p.r, ny = dx / len * p.r;
        out += format("%s%.2f,%.2f ", k == 0 ? "M" : "L", p.x + nx, p.y + ny);
        back = format("L%.2f,%.2f ", p.x - nx, p.y - ny) + back;
    }
    return out + back + "Z";
}

std::string quince(float cx, float fy, float s) {
    std::string defs;
    defs += format("<radialGradient id=\"fruit\" gradientUnits=\"userSpaceOnUse\" cx=\"%.2f\" cy=\"%.2f\" "
                   "r=\"%.2f\">",
                   cx - 5 * s, fy - 2 * s, 22 * s) +
            stop(0, palette::fruitLight) + stop(1, palette::fruitDeep) + "</radialGradient>\n";
    defs += verticalGradient("leaf", fy - 24 * s, fy - 12 * s,
                             stop(0, palette::leafTop) + stop(1, palette::leafFoot));
    std::string body;
    body += format("<g fill=\"url(#fruit)\"><circle cx=\"%.2f\" cy=\"%.2f\" r=\"%.2f\"/>"
                   "<circle cx=\"%.2f\" cy=\"%.2f\" r=\"%.2f\"/></g>\n",
                   cx, fy + 6 * s, 13 * s, cx, fy - 3 * s, 9.5f * s);
    body += format("<line x1=\"%.2f\" y1=\"%.2f\" x2=\"%.2f\" y2=\"%.2f\" stroke=\"%s\" stroke-width=\"%.2f\" "
                   "stroke-linecap=\"round\"/>\n",
                   cx, fy - 11 * s, cx + 2 * s, fy - 18 * s, hex(palette::stalk).c_str(), 2 * s);
    body += "<path fill=\"url(#leaf)\" d=\"" + leafPath(cx, fy, s) + "\"/>\n";
    return "<defs>\n" + defs + "</defs>\n" + body;
}

}  // namespace

std::string iconSvg() {
    constexpr int n = 256;
    const IconLayout layout = iconLayout(n);
    return format("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\">\n",
                  n, n, n, n) +
           "<defs>\n" + plate(layout.plate) + quince(layout.quinceX, layout.quinceY, layout.quinceScale) + "</svg>\n";
}

}  // namespace tex
