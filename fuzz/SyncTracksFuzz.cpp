// libFuzzer target: any bytes given to the sync reader are read without
// leaving them, into a table no larger than the data and consistent with
// its counts.
#include <cstddef>
#include <cstdint>

#include "assets/SyncTracks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const SyncTracks tracks = readSyncTracks(data, size);
    if (tracks.times.size() > size || tracks.times.size() != std::size_t{tracks.trackCount} * tracks.stride ||
        tracks.counts.size() != tracks.trackCount || tracks.cursors.size() != tracks.trackCount)
        __builtin_trap();
    for (const unsigned count : tracks.counts)
        if (count > tracks.stride)
            __builtin_trap();
    return 0;
}
