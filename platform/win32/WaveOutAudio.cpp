#include "platform/win32/WaveOutAudio.h"


namespace {

// 1.5 s queued: the refill thread may go that long without the processor
// (a machine busy with other work, the rendering threads) before a gap is
// heard.  The play position comes from the device, so depth costs no sync.
constexpr int kBufferCount = 32;
constexpr std::size_t kBufferBytes = 2048 * 4;   // 2048 sample frames, 46.4 ms

}  // namespace

WaveOutAudio::~WaveOutAudio()
{
    free();
}

bool WaveOutAudio::init(int device, int frequency, std::uint32_t, PlatformWindow*)
{
    if (device == kNoSoundDevice) {
        noSound_ = initialised_ = true;
        return true;
    }
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = static_cast<DWORD>(frequency);
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    bufferDone_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (bufferDone_ == nullptr)
        return false;
    if (waveOutOpen(&device_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(bufferDone_), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
        device_ = nullptr;
        CloseHandle(bufferDone_);
        bufferDone_ = nullptr;
        return false;
    }
    waveOutPause(device_);   // silent until the stream plays
    initialised_ = true;
    return true;
}

bool WaveOutAudio::start()
{
    return initialised_;
}

void WaveOutAudio::fill(WAVEHDR& buffer)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        decode(reinterpret_cast<unsigned char*>(buffer.lpData), kBufferBytes);
    }
    buffer.dwBufferLength = static_cast<DWORD>(kBufferBytes);
    buffer.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
    waveOutWrite(device_, &buffer, sizeof buffer);
}

void WaveOutAudio::refillLoop()
{
    // A late refill is heard as a gap; a late frame is not.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    while (!stopRefilling_) {
        WaitForSingleObject(bufferDone_, 100);
        queue_.refill([this](int i) { return !stopRefilling_ && (buffers_[i].dwFlags & WHDR_DONE) != 0; },
                      [this](int i) { fill(buffers_[i]); });
    }
}

void WaveOutAudio::streamStarted()
{
    playStartTicks_ = timeGetTime();
    if (noSound_ || device_ == nullptr || refiller_.joinable())
        return;
    queue_ = AudioQueue(kBufferCount);   // filled in index order below, so buffer 0 is the oldest
    memory_.assign(kBufferCount, std::vector<std::uint8_t>(kBufferBytes));
    buffers_.assign(kBufferCount, WAVEHDR{});
    for (int i = 0; i < kBufferCount; ++i) {
        buffers_[i].lpData = reinterpret_cast<LPSTR>(memory_[i].data());
        buffers_[i].dwBufferLength = static_cast<DWORD>(kBufferBytes);
        waveOutPrepareHeader(device_, &buffers_[i], sizeof(WAVEHDR));
        fill(buffers_[i]);
    }
    stopRefilling_ = false;
    refiller_ = std::thread([this] { refillLoop(); });
    waveOutRestart(device_);
}

std::uint64_t WaveOutAudio::heardBytes()
{
    if (noSound_ || device_ == nullptr)
        return static_cast<std::uint64_t>(timeGetTime() - playStartTicks_) * kPcmBytesPerSecond / 1000;
    MMTIME time{};
    time.wType = TIME_BYTES;
    if (waveOutGetPosition(device_, &time, sizeof time) != MMSYSERR_NOERROR || time.wType != TIME_BYTES)
        return 0;
    if (time.u.cb < lastDeviceBytes_)
        deviceBytesHigh_ += std::uint64_t{1} << 32;   // the 32-bit counter wrapped (after 6.8 hours)
    lastDeviceBytes_ = time.u.cb;
    return deviceBytesHigh_ + time.u.cb;
}

void WaveOutAudio::stop()
{
    if (device_ != nullptr)
        waveOutPause(device_);
}

void WaveOutAudio::stopOutput()
{
    if (refiller_.joinable()) {
        stopRefilling_ = true;
        SetEvent(bufferDone_);
        refiller_.join();
    }
    if (device_ != nullptr) {
        waveOutReset(device_);
        for (WAVEHDR& buffer : buffers_)
            waveOutUnprepareHeader(device_, &buffer, sizeof buffer);
    }
    buffers_.clear();
    memory_.clear();
}

void WaveOutAudio::free()
{
    stopOutput();
    if (device_ != nullptr) {
        waveOutClose(device_);
        device_ = nullptr;
    }
    if (bufferDone_ != nullptr) {
        CloseHandle(bufferDone_);
        bufferDone_ = nullptr;
    }
    initialised_ = false;
}
