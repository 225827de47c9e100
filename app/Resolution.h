#pragma once
#include <string>

// The size the demo's picture is rendered at, asked for with --resolution:
// WIDTHxHEIGHT of aspect 4:3, or the largest 4:3 area of the screen.
struct Resolution {
    int width = 640;
    int height = 480;
    bool native = false;   // the screen's own: known only once a display is open
};

constexpr int kLargestPictureWidth = 4096;
constexpr int kLargestPictureHeight = 3072;

// "1920x1440" or "native".  False, with a message for the user, for anything
// else: another aspect than 4:3, a size below 640x480 or above 4096x3072.
bool parseResolution(const char* text, Resolution& resolution, std::string& error);
