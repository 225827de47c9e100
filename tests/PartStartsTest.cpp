#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "assets/MusicPlayer.h"
#include "assets/Resources.h"
#include "tests/WholeShows.h"

namespace {

TEST(WholeRun, EachPartBeginsAfterTheFrameWhoseSyncCheckSeesItsTime)
{
    // The 60 fps capture the golden frames come from runs to part 11's last
    // frame and prints each part's start.  (The whole headless run to the
    // demo's end, its exit status and its self-check, are checked by CI's
    // sanitizer step and, on Windows, by the Windows whole run, at 15 fps.)
    const std::string& log = sixtyFpsShow().log;
    const std::map<int, long> starts = partStarts(log);
    ASSERT_EQ(starts.size(), 11u) << log.substr(0, 2000);
    EXPECT_EQ(starts.at(1), 0);

    // The sync check of frame f sees the position f * 2940 bytes (60 fps);
    // part k + 1 begins on the frame after the first check at or past time k.
    const Resource dat = findResource("ZYT_MUCKE", "ZYT_MUCKE_DAT");
    const SyncTracks tracks = readSyncTracks(dat.data, dat.size);
    for (int part = 2; part <= 11; ++part) {
        const std::uint32_t time = tracks.times[static_cast<std::size_t>(part - 2)];
        const long firstCheck = static_cast<long>((time + 2939) / 2940);
        EXPECT_EQ(starts.at(part), firstCheck + 1) << "part " << part;
    }
    EXPECT_EQ(starts.at(2), 760);
    EXPECT_EQ(log.find("part 12"), std::string::npos);
}

}  // namespace
