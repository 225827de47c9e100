#pragma once
#include <windows.h>

// The OpenGL context of a window: a double-buffered RGBA pixel format
// (16 colour and 16 depth bits asked for; the driver may give more) set on
// the window's device context, and a WGL context made current on it.
// Returns null when ChoosePixelFormat finds no format.
HGLRC createWglContext(HDC dc);

// Turns vsync on or off through WGL_EXT_swap_control; false when the
// driver does not offer it.
bool setSwapInterval(int interval);

// The current context's entry point of an OpenGL function by name; null
// where the driver has none (some drivers answer 1, 2, 3 or -1 for that).
void* wglFunction(const char* name);
