#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The sync tracks: per track its event times as byte positions, its count
// and the cursor of its next unreported event.  Track k (from 0) keeps its
// times at k * stride onwards; stride is the longest track's count.
struct SyncTracks {
    std::vector<unsigned> cursors;
    std::vector<unsigned> counts;
    std::vector<std::uint32_t> times;
    unsigned stride = 0;
    unsigned trackCount = 0;
};

// Reads sync data: the track count, then per track a name (discarded), a
// count and that many times in seconds.  Counts that the data cannot hold
// are cut to what it can; nothing is read outside the data.  Data whose
// table (tracks times the longest count) would outnumber its bytes gives no
// tracks.
SyncTracks readSyncTracks(const unsigned char* data, std::size_t size);

// Seconds as stored in the sync data to a byte position: the single-precision
// value times 176400, truncated (12.65 gives 2231459).
std::uint32_t syncSecondsToBytes(float seconds);
