#include "assets/SyncTracks.h"

#include <algorithm>

#include "assets/TextFields.h"

namespace {

// A count is cut to the bytes left in the data (each field takes at least
// its terminator), so a damaged count cannot make the reader spin.
unsigned sanitizedCount(int value, const TextCursor& cursor)
{
    if (value <= 0)
        return 0;
    const auto remaining = static_cast<std::size_t>(cursor.end - cursor.pos);
    return static_cast<unsigned>(std::min<std::size_t>(static_cast<unsigned>(value), remaining));
}

}  // namespace

std::uint32_t syncSecondsToBytes(float seconds)
{
    const double bytes = static_cast<double>(seconds) * 176400.0;
    // Out-of-range values (negative, huge, NaN) saturate instead of being undefined.
    if (!(bytes > 0.0))
        return 0;
    if (bytes >= 4294967295.0)
        return 0xFFFFFFFFu;
    return static_cast<std::uint32_t>(bytes);
}

SyncTracks readSyncTracks(const unsigned char* data, std::size_t size)
{
    SyncTracks tracks;
    TextCursor cursor(data, size);
    tracks.trackCount = sanitizedCount(readInt(cursor), cursor);
    tracks.cursors.assign(tracks.trackCount, 0);
    tracks.counts.assign(tracks.trackCount, 0);

    // First pass: the counts and the longest track, which sets the row stride.
    // A track keeps only the times the data really holds.
    char name[kTextFieldBufferSize];
    const TextCursor tracksStart = cursor;
    for (unsigned k = 0; k < tracks.trackCount; ++k) {
        readText(cursor, name);
        const unsigned claimed = sanitizedCount(readInt(cursor), cursor);
        unsigned& present = tracks.counts[k];
        for (; present < claimed && !cursor.atEnd(); ++present)
            readFloat(cursor);
        tracks.stride = std::max(tracks.stride, present);
    }

    // Every row is as long as the longest track, so a few long tracks among
    // many short ones would make a table growing with the square of the
    // data's size.  Each time takes at least one byte of the data, and sound
    // data pads its table little: a table with more slots than the data has
    // bytes is refused whole.
    if (static_cast<std::uint64_t>(tracks.trackCount) * tracks.stride > size)
        return SyncTracks{};

    // Second pass: the times, track after track, each row `stride` long.
    tracks.times.assign(static_cast<std::size_t>(tracks.trackCount) * tracks.stride, 0);
    cursor = tracksStart;
    for (unsigned k = 0; k < tracks.trackCount; ++k) {
        readText(cursor, name);
        readInt(cursor);
        for (unsigned i = 0; i < tracks.counts[k]; ++i)
            tracks.times[static_cast<std::size_t>(k) * tracks.stride + i] = syncSecondsToBytes(readFloat(cursor));
    }
    return tracks;
}
