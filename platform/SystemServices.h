#pragma once
#include <memory>
#include <string>

#include "platform/AudioBackend.h"
#include "platform/Platform.h"

// What differs between operating systems beyond the Platform and
// AudioBackend interfaces.  Each system has one implementation file
// (platform/linux/, platform/win32/, platform/web/WebServices.cpp); the
// build picks it by target system.

// Called first thing in main: on Windows a GUI program attaches to the
// console it was started from (so --help and progress print there) and
// asks for a 1 ms timer resolution.  On POSIX a standard input, output or
// error output that was closed is opened on /dev/null, so that no file the
// program opens takes its place.
void prepareProcess();

// The desktop platform (a real window; pace: vsync or pacing to the
// display's refresh rate; picture: the size rendered at, or with
// screenPicture the largest 4:3 area of the screen) and the sound card's
// audio.
std::unique_ptr<Platform> makeDesktopPlatform(bool pace, PictureSize picture, bool screenPicture);
std::unique_ptr<AudioBackend> makeDesktopAudio();

// Whether the desktop window can render at any --resolution (else it plays
// at 640x480 and other sizes are for captures and the benchmark only).
bool desktopRendersAnyResolution();

// A line for --help on where FFmpeg is looked for ("" when nothing needs
// saying beyond PATH).
std::string ffmpegLocationNote();

// What to tell a user whose system lacks FFmpeg: where this build looked
// for it and how to get it.
std::string missingFfmpegAdvice();

// Creates the folder if needed; true when it exists afterwards.
bool makeDirectory(const std::string& path);

// Memory the process holds in RAM, in KiB; 0 when unknown.
long residentMemoryKb();
