#include "platform/web/WebAudio.h"

#include <emscripten.h>
#include <vector>

#include "platform/web/Page.h"

namespace {

constexpr int kSampleRate = 44100;
// Far enough ahead to carry the music over the loading that follows its
// start (the warm-up takes seconds in a software-rendered WebGL) and over
// slow frames; a few megabytes of buffers.
constexpr double kScheduleAheadSeconds = 8.0;
constexpr std::size_t kPieceFrames = kSampleRate / 2;
// The first piece starts this much after the call, so it is not late.
constexpr double kStartLeadSeconds = 0.05;

}  // namespace

EM_JS(int, qh_audio_state, (), {
    var context = Module["qhAudioContext"];
    if (!context) return 0;
    return context.state == "running" ? 2 : 1;
});

EM_JS(double, qh_audio_time, (), { return Module["qhAudioContext"].currentTime; });

EM_JS(double, qh_audio_output_latency, (), {
    var latency = Module["qhAudioContext"].outputLatency;
    return typeof latency == "number" && isFinite(latency) ? latency : 0;
});

// One piece of 16-bit stereo PCM, played from the given context time on.
EM_JS(void, qh_audio_play, (const short* samples, int frames, double when), {
    var context = Module["qhAudioContext"];
    var buffer = context.createBuffer(2, frames, 44100);
    var left = buffer.getChannelData(0);
    var right = buffer.getChannelData(1);
    var base = samples >> 1;
    for (var i = 0; i < frames; i++) {
        left[i] = HEAP16[base + 2 * i] / 32768;
        right[i] = HEAP16[base + 2 * i + 1] / 32768;
    }
    var source = context.createBufferSource();
    source.buffer = buffer;
    source.connect(context.destination);
    var playing = Module["qhSources"] || (Module["qhSources"] = new Set());
    playing.add(source);
    source.onended = function() { playing.delete(source); };
    source.start(when);
});

EM_JS(void, qh_audio_stop_all, (), {
    var playing = Module["qhSources"];
    if (!playing) return;
    playing.forEach(function(source) {
        try { source.stop(); } catch (e) {}
        source.disconnect();
    });
    playing.clear();
});

WebAudio::WebAudio() : schedule_(kScheduleAheadSeconds), piece_(kPieceFrames * 4) {}

double WebAudio::clock() const
{
    return sound_ ? qh_audio_time() : emscripten_get_now() / 1000.0;
}

bool WebAudio::init(int device, int frequency, std::uint32_t, PlatformWindow*)
{
    if (frequency != kSampleRate)
        return false;
    initialised_ = true;
    sound_ = false;
    if (device == kNoSoundDevice)
        return true;
    const int state = qh_audio_state();
    if (state == 2) {
        sound_ = true;
        return true;
    }
    // The page made no context, or the browser holds it: the demo goes on
    // with the page's clock, and the page says why there is no sound.
    page::soundFailed(state == 0 ? "no audio context was given" : "the audio context is not running");
    return true;
}

void WebAudio::streamStarted()
{
    schedule_.start(clock() + (sound_ ? kStartLeadSeconds : 0.0));
    if (sound_)
        scheduleAhead();
}

// Decodes and hands over pieces until the music is scheduled a little ahead.
// After a stall (a hidden tab gets no frames) the time already gone by is
// decoded and dropped, so the music stays where the clock is.
void WebAudio::scheduleAhead()
{
    const double now = qh_audio_time();
    while (schedule_.wantsMore(now)) {
        const std::size_t frames = decode(piece_.data(), piece_.size()) / 4;
        if (frames == 0)
            return;
        if (!schedule_.late(now))
            qh_audio_play(reinterpret_cast<const short*>(piece_.data()), static_cast<int>(frames),
                          schedule_.nextPieceTime());
        schedule_.handedOver(frames);
    }
}

std::uint64_t WebAudio::heardBytes()
{
    // The music player asks for the position once per frame: the moment to
    // keep the schedule filled.
    if (sound_)
        scheduleAhead();
    const double latency = sound_ ? qh_audio_output_latency() : 0.0;
    return schedule_.heardBytes(clock(), latency);
}

void WebAudio::stop()
{
    stopPlaying();
    if (sound_)
        qh_audio_stop_all();
}

void WebAudio::free()
{
    stop();
    initialised_ = false;
}
