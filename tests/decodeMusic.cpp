// Writes the compiled-in music as the program decodes it (gapless 44100 Hz
// 16-bit stereo PCM, no header) to a file:  decode_music OUT.raw
// The browser build's music test compares its own decode with this one.
#include <cstdio>
#include <vector>

#include "assets/Resources.h"
#include "platform/Mp3Stream.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: decode_music OUT.raw\n");
        return 2;
    }
    const Resource mp3 = findResource("ZYT_MUCKE", "ZYT_MUCKE_MP3");
    Mp3Stream stream;
    if (!mp3 || !stream.open(mp3.data, mp3.size)) {
        std::fprintf(stderr, "decode_music: the compiled-in music does not decode\n");
        return 1;
    }
    std::vector<unsigned char> pcm(static_cast<std::size_t>(stream.lengthBytes()));
    pcm.resize(stream.read(pcm.data(), pcm.size()));
    std::FILE* out = std::fopen(argv[1], "wb");
    const bool written = out != nullptr && std::fwrite(pcm.data(), 1, pcm.size(), out) == pcm.size();
    if (out == nullptr || std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "decode_music: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
