#pragma once
#include "app/SplashPicture.h"
#include "platform/Platform.h"

// The title picture shown while the demo loads.  It looks as if it floated
// over the desktop: before the window appears, the screen area it is about
// to cover is copied, the picture is mixed into that copy with its alpha
// channel, and the result is shown 1:1 in a frameless window that takes no
// input.  The window is painted once and does not follow later changes of
// the desktop behind it.

class SplashWindow {
public:
    // Loads the picture (type "ZYT_JPEGTEX"), composes it over the screen
    // and shows it.  Without a screen, with a picture that fails the check,
    // or with one larger than the screen, nothing is shown.
    explicit SplashWindow(const char* imageName);
    // Hides the window and frees the picture.
    ~SplashWindow();
    SplashWindow(const SplashWindow&) = delete;
    SplashWindow& operator=(const SplashWindow&) = delete;

    bool shown() const { return shown_; }

private:
    TgaImage image_;
    bool shown_ = false;
};
