#pragma once
#include "app/HeadlessFrames.h"

// Checks a headless run as it goes: no OpenGL error after any frame, the
// same number of live display lists after every frame, and (without
// AddressSanitizer, whose quarantine keeps freed memory) no growth of the
// resident memory beyond 32 MB after the first part began.  Reports at the
// end; a failed check ends the process with status 4.
void checkHeadlessRun(HeadlessRunOptions& options);
