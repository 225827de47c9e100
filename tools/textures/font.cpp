#include "font.hpp"

#include <climits>
#include <stdexcept>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace tex {

struct Font::Impl {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
};

Font::Font(const std::string& path) : impl_(new Impl) {
    if (FT_Init_FreeType(&impl_->lib) || FT_New_Face(impl_->lib, path.c_str(), 0, &impl_->face)) {
        if (impl_->lib) FT_Done_FreeType(impl_->lib);
        delete impl_;
        throw std::runtime_error("cannot load font " + path);
    }
}

Font::~Font() {
    FT_Done_Face(impl_->face);
    FT_Done_FreeType(impl_->lib);
    delete impl_;
}

Gray Font::render(const std::string& text, int pixelSize, int tracking) const {
    FT_Face face = impl_->face;
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize));
    struct Glyph { std::vector<unsigned char> bits; int w, h, x, y; };
    std::vector<Glyph> glyphs;
    long pen = 0;  // 26.6 fixed point
    FT_UInt prev = 0;
    int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
    for (unsigned char ch : text) {
        FT_UInt idx = FT_Get_Char_Index(face, ch);
        if (prev && idx && FT_HAS_KERNING(face)) {
            FT_Vector k;
            FT_Get_Kerning(face, prev, idx, FT_KERNING_DEFAULT, &k);
            pen += k.x;
        }
        if (FT_Load_Glyph(face, idx, FT_LOAD_DEFAULT) || FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL))
            throw std::runtime_error("cannot render glyph");
        const FT_Bitmap& bm = face->glyph->bitmap;
        Glyph g{{}, int(bm.width), int(bm.rows), int((pen + 32) >> 6) + face->glyph->bitmap_left,
                -face->glyph->bitmap_top};
        g.bits.resize(size_t(g.w) * g.h);
        for (int r = 0; r < g.h; ++r)
            for (int c = 0; c < g.w; ++c) g.bits[size_t(r) * g.w + c] = bm.buffer[r * bm.pitch + c];
        if (g.w > 0 && g.h > 0) {
            minX = std::min(minX, g.x); maxX = std::max(maxX, g.x + g.w);
            minY = std::min(minY, g.y); maxY = std::max(maxY, g.y + g.h);
        }
        glyphs.push_back(std::move(g));
        pen += face->glyph->advance.x + tracking * 64;
        prev = idx;
    }
    if (minX > maxX) return Gray(1, 1);
    Gray m(maxX - minX, maxY - minY);
    for (const Glyph& g : glyphs)
        for (int r = 0; r < g.h; ++r)
            for (int c = 0; c < g.w; ++c) {
                float& d = m.at(g.x - minX + c, g.y - minY + r);
                d = std::max(d, g.bits[size_t(r) * g.w + c] / 255.0f);
            }
    return m;
}

Gray Font::fit(const std::string& text, int maxW, int maxH, float trackingEm) const {
    int size = 100;
    for (int pass = 0; pass < 3; ++pass) {
        Gray m = render(text, size, int(std::lround(trackingEm * size)));
        float k = std::min(float(maxW) / m.w, float(maxH) / m.h);
        int next = std::max(4, int(size * k));
        if (next == size || (pass == 2 && m.w <= maxW && m.h <= maxH)) return m;
        size = next;
    }
    // Rounding may still overshoot by a pixel: step down until it fits.
    for (;; --size) {
        Gray m = render(text, size, int(std::lround(trackingEm * size)));
        if ((m.w <= maxW && m.h <= maxH) || size <= 4) return m;
    }
}

const Font& boldFont() {
    static Font f("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf");
    return f;
}
const Font& plainFont() {
    static Font f("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    return f;
}

}  // namespace tex
