#pragma once
#include <cstddef>
#include <cstdint>

// An MP3 held in memory, decoded on demand to 44100 Hz 16-bit stereo PCM by
// libmpg123 (gapless: byte 0 is the music's first sample, not the encoder's
// padding).  The compressed bytes are read in place, never copied.
class Mp3Stream {
public:
    Mp3Stream() = default;
    ~Mp3Stream();
    Mp3Stream(const Mp3Stream&) = delete;
    Mp3Stream& operator=(const Mp3Stream&) = delete;

    // False when the data is no decodable MP3.
    bool open(const unsigned char* data, std::size_t size);
    // Fills up to `bytes` bytes (a multiple of 4); returns the count written,
    // less than asked only at the end of the music.
    std::size_t read(unsigned char* out, std::size_t bytes);
    void rewind();
    // Length of the decoded music in bytes, whole sample frames.
    std::uint64_t lengthBytes() const { return lengthBytes_; }

    // The memory the decoder reads from, with its own read position.
    struct Source {
        const unsigned char* data = nullptr;
        std::size_t size = 0;
        std::size_t position = 0;
    };

private:
    void close();

    struct mpg123_handle_struct* handle_ = nullptr;
    Source source_;
    std::uint64_t lengthBytes_ = 0;
};
