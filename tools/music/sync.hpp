// Reader for the demo's sync file: the same times the visuals react to are
// used here to place section starts and accents in the music.
#pragma once
#include <string>
#include <vector>

namespace music {

struct SyncTrack {
    std::string name;  // raw bytes as stored (the file is Windows-1252)
    std::vector<double> times;
};

// Format: fields separated by CR LF (a bare LF is accepted too):
// track count, then per track its name, its time count and the times.
// Throws std::runtime_error on a malformed or truncated file.
std::vector<SyncTrack> parseSync(const std::string& text);
std::vector<SyncTrack> readSyncFile(const std::string& path);

}  // namespace music
