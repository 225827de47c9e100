#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "platform/HeadlessPlatform.h"

// The headless platform with an OpenGL context made once for the whole test
// program, recording the message boxes shown through it.
class TestPlatform : public HeadlessPlatform {
public:
    TestPlatform() : HeadlessPlatform(60) {}

    struct Message {
        std::string text;
        std::string caption;
    };
    std::vector<Message> messages;

    void showMessage(PlatformWindow*, const char* text, const char* caption) override
    {
        messages.push_back({text, caption});
    }
    // Leaves a trace a test of a process's way out can look for.
    void restoreDisplayMode() override { std::fputs("display mode restored\n", stderr); }
};

// The shared test platform, installed as the program's platform, with its
// OpenGL context current.  Fails the calling test when there is no context.
TestPlatform& testPlatform();

// For a test that draws on the shared context: saves every attribute and
// pushes both matrices (the projection to set, the modelview the identity,
// left current); the end puts them back and fails the test on an OpenGL
// error left behind.
void beginDrawingTest();
void endDrawingTest();

// The colour of one pixel of the current picture, 0-255 per channel.
struct Pixel {
    int r, g, b;
};
Pixel pixelAt(int x, int y);
// A texture of one flat colour (or of rows given bottom-up) made directly,
// without a JPEG in between.
unsigned makeFlatTexture(unsigned char r, unsigned char g, unsigned char b);
