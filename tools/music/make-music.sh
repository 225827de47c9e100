#!/bin/sh
# Regenerates res/music.mp3 from the synthesizer sources and res/sync.txt,
# then prints loudness figures of the encoded file.
# Needs: g++, lame, ffmpeg, sox. Output is byte-identical on every run.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -std=c++17 -O2 -Wall -Wextra -o "$work/music" "$here"/*.cpp
"$work/music" "$root/res/sync.txt" "$work/music.wav"

# MPEG-1 Layer III, 44.1 kHz, joint stereo, 128 kbit/s CBR. The LAME info
# frame is kept: it carries the encoder delay/padding for gapless decoding.
lame --quiet -m j -b 128 --cbr -q 2 --noreplaygain "$work/music.wav" "$root/res/music.mp3"

mp3="$root/res/music.mp3"
echo "== $(file -b "$mp3")"
echo "== size $(wc -c < "$mp3") bytes, duration $(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$mp3") s"
ffmpeg -hide_banner -nostats -i "$mp3" -af ebur128=peak=true -f null - 2>&1 |
    sed -n '/Summary:/,$p'
