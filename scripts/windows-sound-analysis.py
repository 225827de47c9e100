#!/usr/bin/env python3
"""Compares a recording of the demo's sound with the music it should be.

Usage: windows-sound-analysis.py REFERENCE.raw RECORDING.raw FROM_S TO_S

Both files are 44.1 kHz 16-bit stereo PCM; REFERENCE is the music decoded
from its start, RECORDING what the output device played, beginning at some
moment before the music did.  The music is found in the recording by its
onset and a fine search around it; then, for the stretch of the recording
from FROM_S to TO_S seconds:
  - silent blocks: 10 ms blocks where the music is loud (above -30 dBFS)
    and the recording is more than 30 dB quieter than the music;
  - lag: the best alignment of each second against the music, in ms; an
    output that loses sound shows a lag that grows.
Prints one line of numbers and exits with 1 when any loud block was silent
or the lag moved by more than 10 ms.
"""
import array
import math
import sys

RATE = 44100
ENVELOPE = 44   # samples per envelope step: 1 ms


def mono(path):
    samples = array.array("h")
    with open(path, "rb") as f:
        samples.frombytes(f.read())
    if sys.byteorder != "little":
        samples.byteswap()
    return [(samples[i] + samples[i + 1]) * 0.5 for i in range(0, len(samples) - 1, 2)]


def envelope(signal):
    return [sum(abs(v) for v in signal[i:i + ENVELOPE]) / ENVELOPE
            for i in range(0, len(signal) - ENVELOPE + 1, ENVELOPE)]


def onset(signal, level=300.0):
    for i, v in enumerate(signal):
        if abs(v) > level:
            return i
    return None


def best_lag(rec_env, ref_env, start, length, centre, reach):
    """Envelope step offset of ref_env within rec_env near `centre` for the
    window of ref_env [start, start + length)."""
    window = ref_env[start:start + length]
    mean_w = sum(window) / len(window)
    best, best_score = centre, -math.inf
    for lag in range(centre - reach, centre + reach + 1):
        if start + lag < 0 or start + lag + length > len(rec_env):
            continue
        part = rec_env[start + lag:start + lag + length]
        mean_p = sum(part) / length
        score = sum((a - mean_w) * (b - mean_p) for a, b in zip(window, part))
        norm = math.sqrt(sum((a - mean_w) ** 2 for a in window) * sum((b - mean_p) ** 2 for b in part)) or 1.0
        if score / norm > best_score:
            best, best_score = lag, score / norm
    return best


def rms_db(signal, start, count):
    block = signal[start:start + count]
    if len(block) < count:
        return None
    power = sum(v * v for v in block) / count
    return 10 * math.log10(power / (32768.0 ** 2)) if power > 0 else -200.0


def count_silent(reference, recording, shift, music_from, music_to):
    """Loud 10 ms blocks of the music in [music_from, music_to) and how many
    of them the recording (shifted by `shift` samples) leaves silent."""
    block = RATE // 100
    loud = silent = 0
    for start in range(music_from, music_to - block, block):
        ref_db = rms_db(reference, start, block)
        rec_db = rms_db(recording, start + shift, block)
        if ref_db is None or rec_db is None or ref_db < -30:
            continue
        loud += 1
        silent += rec_db < ref_db - 30
    return loud, silent


def main():
    reference, recording = mono(sys.argv[1]), mono(sys.argv[2])
    first, last = float(sys.argv[3]), float(sys.argv[4])
    ref_on, rec_on = onset(reference), onset(recording)
    if ref_on is None or rec_on is None:
        print("no music in the recording")
        return 1
    ref_env, rec_env = envelope(reference), envelope(recording)
    # Recording step = music step + offset; refined around the onsets.
    offset = best_lag(rec_env, ref_env, ref_on // ENVELOPE, 2000, (rec_on - ref_on) // ENVELOPE, 50)

    lags = []
    music_from = max(0, int(first * RATE) - offset * ENVELOPE)
    music_to = int(last * RATE) - offset * ENVELOPE
    for second in range(music_from // RATE, music_to // RATE):
        lags.append(best_lag(rec_env, ref_env, second * 1000, 1000, offset, 300) - offset)
    shift = offset * ENVELOPE
    loud, silent = count_silent(reference, recording, shift, music_from, music_to)
    spread = max(lags) - min(lags) if lags else 0
    quiet_loud, quiet_silent = count_silent(reference, recording, shift, ref_on + RATE // 2, music_from)
    print("before: %d loud blocks, %d silent" % (quiet_loud, quiet_silent))
    print("music starts %.3f s into the recording; from %.1f s to %.1f s: %d loud 10 ms blocks, %d silent; "
          "lag per second (ms): %s; spread %d ms"
          % (offset * ENVELOPE / RATE, first, last, loud, silent, " ".join(str(v) for v in lags), spread))
    return 1 if silent > 0 or spread > 10 else 0


if __name__ == "__main__":
    sys.exit(main())
