#!/bin/sh
# Regenerates res/music.mp3 from the synthesizer sources and res/sync.txt,
# then prints loudness, sync and spectrum figures of the encoded file.
# Needs: g++, lame, ffmpeg, sox. Output is byte-identical on every run.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
sync="$root/res/sync.txt"
mp3="$root/res/music.mp3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -std=c++17 -O2 -Wall -Wextra -o "$work/music" "$here"/*.cpp
g++ -std=c++17 -O2 -Wall -Wextra -o "$work/tests" "$here/tests/tests.cpp" \
    $(ls "$here"/*.cpp | grep -v '/main\.cpp$')
"$work/tests" "$sync"
"$work/music" "$sync" "$work/music.wav"

# MPEG-1 Layer III, 44.1 kHz, joint stereo, 128 kbit/s CBR. The LAME info
# frame is kept: it carries the encoder delay/padding for gapless decoding.
lame --quiet -m j -b 128 --cbr -q 2 --noreplaygain "$work/music.wav" "$mp3"

echo "== $(file -b "$mp3")"
echo "== size $(wc -c < "$mp3") bytes, duration" \
    "$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$mp3") s"
ffmpeg -hide_banner -nostats -i "$mp3" -af ebur128=peak=true -f null - 2>&1 |
    sed -n '/Summary:/,$p'

# RMS of the decoded MP3 per section (section times are the first sync track).
ffmpeg -v error -y -i "$mp3" "$work/decoded.wav"
bounds="0 $(tr -d '\r' < "$sync" | sed -n '4,14p' | tr '\n' ' ') 257"
set -- $bounds
prev=$1
shift
echo "== RMS per section (decoded MP3)"
for t in "$@"; do
    rms=$(sox "$work/decoded.wav" -n trim "$prev" "=$t" stat 2>&1 | awk '/^RMS +amplitude/ {print $3}')
    printf '   %7.2f - %7.2f s  RMS %s\n' "$prev" "$t" "$rms"
    prev=$t
done

echo "== what the picture relies on (decoded MP3)"
"$work/music" --report "$sync" "$work/decoded.wav"

echo "== the tests again, with the decoded MP3"
"$work/tests" "$sync" "$work/decoded.wav"

# Octave bands (sox's linear-phase band-pass) against the 63 Hz band: a
# natural mix falls steadily towards the top.
echo "== octave bands relative to 63 Hz"
ref=
for c in 63 125 250 500 1000 2000 4000 8000 16000; do
    lo=$(awk "BEGIN {print $c / sqrt(2)}")
    hi=$(awk "BEGIN {h = $c * sqrt(2); print (h > 21000 ? 21000 : h)}")
    db=$(sox "$work/decoded.wav" -n remix 1,2 sinc -t 20 "$lo-$hi" stats 2>&1 | awk '/RMS lev dB/ {print $4}')
    ref=${ref:-$db}
    printf '   %5s Hz %+6.1f dB\n' "$c" "$(awk "BEGIN {print $db - $ref}")"
done
