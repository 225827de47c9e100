#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The page the module runs in: its canvas, its window and the callbacks it
// handed over when it made the instance (options.qhPage).  Every call is
// synchronous; a callback the page did not give is left out.
namespace page {

// The program's message box.
void showMessage(const char* text, const char* caption);
// What the page shows in the rectangle (CSS pixels of the viewport), RGBA,
// top row first; false when the page gives nothing of that size.
bool backdrop(int x, int y, int width, int height, std::vector<std::uint8_t>& rgba);
// Shows an RGBA picture (top row first) over the page at the rectangle.
void showSplash(int x, int y, int width, int height, const std::uint8_t* rgba);
void hideSplash();
void soundFailed(const char* reason);
void partStarted(int part, double musicSeconds);
// Hands over one frame of the test mode, RGBA top row first.
void frame(std::uint64_t index, int width, int height, const std::uint8_t* rgba);

// The viewport's size in CSS pixels.
void viewportSize(int& width, int& height);
// The canvas's size on screen in device pixels (its CSS size times the
// device pixel ratio); 0 when it has no layout yet.
void canvasDeviceSize(int& width, int& height);
// Sets the canvas's drawing buffer size.
void setCanvasSize(int width, int height);
// Whether the canvas (or anything) is in full screen; entering needs a user
// gesture, so a request made later may be refused without harm.
bool fullScreen();
void requestFullScreen();
void leaveFullScreen();

// The bytes of the data file the page fetched (options.qhResources); empty
// when none were given.
std::vector<unsigned char> resourceBytes();

}  // namespace page
