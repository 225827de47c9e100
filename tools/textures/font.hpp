// Lettering through FreeType: renders a text line into a coverage mask.
#pragma once
#include <string>

#include "image.hpp"

namespace tex {

class Font {
public:
    explicit Font(const std::string& path);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Tight coverage mask of one line of text at the given pixel size;
    // tracking adds extra pixels between letters.
    Gray render(const std::string& text, int pixelSize, int tracking = 0) const;
    // Largest rendering whose mask fits into maxW x maxH.
    Gray fit(const std::string& text, int maxW, int maxH, float trackingEm = 0) const;

private:
    struct Impl;
    Impl* impl_;
};

// The bold sans face used for all lettering.
const Font& boldFont();
const Font& plainFont();

}  // namespace tex
