#pragma once
#include "app/HeadlessRun.h"

// Measures a headless run of the whole timeline: every frame's real cost
// (drawing finished with glFinish), per part as frames, median, 95th
// percentile and the frame rate they imply; the cost of an empty frame
// (clear and present only), the ceiling on this machine; and the start-up
// steps.  Prints a table, or JSON, on stdout when the demo ends.
void measureHeadlessRun(HeadlessRunOptions& options, bool json);

// Checks a headless run as it goes: no OpenGL error after any frame, the
// same number of live display lists after every frame, and (without
// AddressSanitizer, whose quarantine keeps freed memory) no growth of the
// resident memory beyond 32 MB after the first part began.  Reports at the
// end; a failed check ends the process with status 4.
void checkHeadlessRun(HeadlessRunOptions& options);
