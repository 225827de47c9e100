#include "platform/linux/DesktopAudio.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr AudioStream kTheStream = 1;
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

AudioStream DesktopAudio::streamCreateFile(bool fromMemory, const void* data, std::uint64_t offset,
                                           std::uint64_t length, std::uint32_t)
{
    if (!initialised_ || !fromMemory || data == nullptr || offset > length)
        return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    haveStream_ = mp3_.open(static_cast<const unsigned char*>(data) + offset, static_cast<std::size_t>(length - offset));
    return haveStream_ ? kTheStream : 0;
}

bool DesktopAudio::start()
{
    if (!initialised_)
        return false;
    if (device_ != 0)
        SDL_PauseAudioDevice(device_, 0);
    return true;
}

bool DesktopAudio::streamPlay(AudioStream stream, bool, std::uint32_t flags)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (stream != kTheStream || !haveStream_)
        return false;
    looping_ = (flags & kStreamLoop) != 0;
    playing_ = true;
    playStartTicks_ = SDL_GetTicks();
    return true;
}

void DesktopAudio::fillCallback(void* self, Uint8* out, int bytes)
{
    static_cast<DesktopAudio*>(self)->fill(out, bytes);
}

void DesktopAudio::fill(Uint8* out, int bytes)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto wanted = static_cast<std::size_t>(bytes);
    std::size_t done = 0;
    if (playing_) {
        bytesBeforeBuffer_ = bytesFed_;
        bufferCounter_ = SDL_GetPerformanceCounter();
        done = mp3_.read(out, wanted);
        if (done < wanted && looping_) {
            mp3_.rewind();
            done += mp3_.read(out + done, wanted - done);
        }
        bytesFed_ += done;
    }
    std::memset(out + done, 0, wanted - done);
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

std::uint32_t DesktopAudio::channelGetPosition(AudioStream stream)
{
    if (stream != kTheStream || !haveStream_)
        return kPositionUnknown;
    if (!playing_)
        return 0;
    const std::uint64_t heard = tickClock_ ? positionFromTicks() : positionFromDevice();
    return position_.next(heard, mp3_.lengthBytes(), looping_);
}

void DesktopAudio::stop()
{
    if (device_ != 0)
        SDL_PauseAudioDevice(device_, 1);
}

void DesktopAudio::streamFree(AudioStream stream)
{
    if (stream != kTheStream)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    playing_ = false;
    haveStream_ = false;
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
