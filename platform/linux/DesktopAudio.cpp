#include "platform/linux/DesktopAudio.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kBufferSamples = 1024;

bool driverClockRunsFast(const char* driver)
{
    return driver == nullptr || std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "disk") == 0;
}

}  // namespace

DesktopAudio::~DesktopAudio()
{
    free();
}

bool DesktopAudio::init(int device, int frequency, std::uint32_t, PlatformWindow*)
{
    if (device == kNoSoundDevice) {
        noSound_ = tickClock_ = initialised_ = true;
        return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec wanted{};
    wanted.freq = frequency;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kBufferSamples;
    wanted.callback = fillCallback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    bufferBytes_ = static_cast<std::uint64_t>(obtained.samples) * 4;
    tickClock_ = driverClockRunsFast(SDL_GetCurrentAudioDriver());
    initialised_ = true;
    return true;
}

bool DesktopAudio::start()
{
    if (!initialised_)
        return false;
    if (device_ != 0)
        SDL_PauseAudioDevice(device_, 0);
    return true;
}

void DesktopAudio::streamStarted()
{
    playStartTicks_ = SDL_GetTicks();
}

void DesktopAudio::fillCallback(void* self, Uint8* out, int bytes)
{
    static_cast<DesktopAudio*>(self)->fill(out, bytes);
}

void DesktopAudio::fill(Uint8* out, int bytes)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (playing()) {
        bytesBeforeBuffer_ = bytesFed_;
        bufferCounter_ = SDL_GetPerformanceCounter();
    }
    bytesFed_ += decode(out, static_cast<std::size_t>(bytes));
}

std::uint64_t DesktopAudio::positionFromDevice()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (bufferCounter_ == 0)
        return 0;
    const double seconds = static_cast<double>(SDL_GetPerformanceCounter() - bufferCounter_) /
                           static_cast<double>(SDL_GetPerformanceFrequency());
    const auto sinceBuffer = static_cast<std::uint64_t>(seconds * kPcmBytesPerSecond);
    return bytesBeforeBuffer_ + std::min(sinceBuffer, bytesFed_ - bytesBeforeBuffer_);
}

std::uint64_t DesktopAudio::positionFromTicks() const
{
    const std::uint64_t elapsedMs = SDL_GetTicks() - playStartTicks_;
    return elapsedMs * kPcmBytesPerSecond / 1000;
}

std::uint64_t DesktopAudio::heardBytes()
{
    return tickClock_ ? positionFromTicks() : positionFromDevice();
}

void DesktopAudio::stop()
{
    if (device_ != 0)
        SDL_PauseAudioDevice(device_, 1);
}

void DesktopAudio::free()
{
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        device_ = 0;
    }
    initialised_ = false;
}
