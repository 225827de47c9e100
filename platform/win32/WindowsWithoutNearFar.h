#pragma once
// Included before every source file of the Windows build (the OpenGL
// headers pull in windows.h anyway).  windows.h defines `near` and `far` as
// empty macros for 16-bit pointers, which would silently eat ordinary
// variable names; they go (after the few headers that still use them),
// and NEAR/FAR stay empty as they were.
#include <windows.h>

#include <mmsystem.h>
#undef near
#undef far
#undef NEAR
#undef FAR
#define NEAR
#define FAR
