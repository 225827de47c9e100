#pragma once

// A WebGL 2 context on the page's canvas (options.canvas), made current, with
// the program's fixed-function layer started on it.  The canvas's drawing
// buffer gets the given size.  False (with a line on stderr) when the
// browser gives no WebGL 2 or the layer cannot start.
bool createCanvasContext(int width, int height);
void makeCanvasContextCurrent();

// The address of a WebGL 2 function by its OpenGL ES name; null for the
// buffer mapping WebGL does not have, so that readers take the plain path.
void* webGlFunction(const char* name);
