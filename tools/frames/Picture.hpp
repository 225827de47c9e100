// A captured frame or a texture as 8-bit RGB rows, top row first as the
// file stores it, and the luminance the measures look at.
#pragma once
#include <string>
#include <vector>

namespace frames {

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;

    const unsigned char* at(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
    // Relative luminance 0..1 of the stored values (Rec. 709 weights).
    double luma(int x, int y) const
    {
        const unsigned char* p = at(x, y);
        return (0.2126 * p[0] + 0.7152 * p[1] + 0.0722 * p[2]) / 255.0;
    }
};

// Reads a PNG or JPEG; throws std::runtime_error when it cannot.
Picture loadPicture(const std::string& path);

}  // namespace frames
