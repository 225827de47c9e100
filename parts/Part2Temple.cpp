#include "parts/Part2Temple.h"

#include "assets/MusicPlayer.h"
#include "fx/Overlays.h"
#include "parts/SceneParts.h"

Part2Flashes part2Flashes;

Part2Overlays part2Overlays(int partTime, int fadeTicks, const Part2Flashes& flashes, GLuint texKolbar,
                            GLuint texMeridos, GLuint texTwl)
{
    Part2Overlays overlays;
    if (partTime <= fadeTicks) {
        overlays.red = true;
        overlays.redAlpha = 1.0f - static_cast<float>(partTime) / static_cast<float>(fadeTicks);
    }
    const int n = flashes.flashCount;
    if (n >= 1 && n <= 3) {
        const GLuint cards[3] = {texTwl, texKolbar, texMeridos};
        overlays.hasCard = true;
        overlays.card = cards[n - 1];
    }
    // Widened so that a late flash cannot overflow the window's end.
    if (n > 0 && static_cast<long long>(partTime) <= static_cast<long long>(flashes.lastFlashTime) + 1200) {
        overlays.white = true;
        const long long sinceSlot = static_cast<long long>(partTime) - 1200LL * n;
        overlays.whiteAlpha = 1.0f - static_cast<float>(sinceSlot) * 0.00083333335f;
    }
    return overlays;
}

void part2Frame(const SceneSet& scenes, int partTime, int fadeTicks, MusicPlayer* music, GLuint texKolbar,
                GLuint texMeridos, GLuint texTwl)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    renderSceneFrame(scenes, 0, sceneFrameFor(partTime));
    glPopMatrix();

    const Part2Overlays overlays = part2Overlays(partTime, fadeTicks, part2Flashes, texKolbar, texMeridos, texTwl);
    if (overlays.red)
        drawFlatOverlay(1.0f, 0.0f, 0.0f, overlays.redAlpha);
    if (overlays.hasCard)
        drawColorKeyedOverlay(overlays.card);
    if (overlays.white)   // after the card, so it whitens the card too
        drawFlatOverlay(1.0f, 1.0f, 1.0f, overlays.whiteAlpha);

    if (music != nullptr && music->eventDue(2)) {
        part2Flashes.lastFlashTime = partTime;
        part2Flashes.flashCount += 1;
    }
    glFlush();
}
