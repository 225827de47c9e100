#pragma once
#include "app/HeadlessFrames.h"

// Measures a headless run of the whole timeline: every frame's real cost
// (drawing finished with glFinish), per part as frames, median, 95th
// percentile and the frame rate they imply; the cost of an empty frame
// (clear and present only), the ceiling on this machine; and the start-up
// steps.  Prints a table, or JSON, on stdout when the demo ends.
void measureHeadlessRun(HeadlessRunOptions& options, bool json);
