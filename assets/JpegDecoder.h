#pragma once
#include <cstddef>
#include <vector>

// A JPEG from memory decoded to packed 8-bit RGB, rows in the order they
// are stored (the demo's pictures store their bottom row first).
struct JpegImage {
    enum class Status { Decoded, DecoderUnavailable, HeaderUnreadable, DataDamaged };
    Status status = Status::HeaderUnreadable;
    int width = 0;           // 0 when the header could not be read
    int height = 0;
    std::size_t pitch = 0;   // bytes per row: width * 3 rounded up to 4, as OpenGL reads it
    std::vector<unsigned char> rgb;   // height * pitch bytes, zero where decoding failed
};

// Pictures larger than this on either side are refused as damaged headers:
// no compiled-in picture comes near, and a forged size must not allocate
// gigabytes.
constexpr int kLargestJpegSide = 4096;

JpegImage decodeJpeg(const unsigned char* data, std::size_t size);
