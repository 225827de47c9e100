#pragma once

class MusicPlayer;
struct PlatformWindow;

// The code of the message that moves the demo on to its next part.
constexpr int kPartSwitchCode = 39;

// Draws one frame of the given part, then asks the music whether the next
// part-switch time has come and, if so, posts the part-switch message.
void renderPartFrame(int partNumber, int partTime, PlatformWindow* window);

// Draws one frame of the given part only; part 2 takes its flashes from
// `music` (none when null).
void drawPartFrame(int partNumber, int partTime, MusicPlayer* music);
