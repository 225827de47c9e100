#pragma once
#include <cstdint>

class MusicPlayer;
struct PlatformWindow;

// The code of the message that moves the demo on to its next part.
constexpr int kPartSwitchCode = 39;

// Draws one frame of the given part at partTime, after running the steps of
// its effects that its clock has reached (see app/StepClock.h), then asks
// the music whether the next part-switch time has come and, if so, posts
// the part-switch message.
void renderPartFrame(int partNumber, int partTime, PlatformWindow* window);

// One frame of the given part as a 60 fps show draws it: its picture at
// partTime, then one step of its effects; part 2 takes its flashes from
// `music` (none when null).
void drawPartFrame(int partNumber, int partTime, MusicPlayer* music);

// A part begins on 60 Hz frame `startFrame` of the music: none of its steps
// have run.  A part drawn without being begun begins on frame 0.
void beginPartSteps(int partNumber, std::int64_t startFrame);

// The part ends with partTime `endPartTime`: the steps due before then run
// (and a trail lays its layers), so the next part finds the effects where a
// 60 fps show leaves them.
void finishPartSteps(int partNumber, int endPartTime);

// The most steps one frame catches up (0: every step, as on a virtual
// clock, which never stalls).
void setStepCatchUpLimit(int limit);
