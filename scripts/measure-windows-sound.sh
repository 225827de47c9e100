#!/usr/bin/env bash
# Measures the Windows build's sound under Wine while the machine is busy:
# the demo plays in a window on a virtual X display, its waveOut output goes
# to a PulseAudio null sink whose monitor is recorded, and for a stretch of
# SPIN seconds (default 15) two other processes spin on the processor (one
# per core of a two-core machine).  The recording is compared with the music
# (scripts/windows-sound-analysis.py): silent 10 ms blocks where the music is
# loud, and the lag of each second against the music.  Exits with 1 when a
# loud block was silent or the lag moved.
#
# Usage: scripts/measure-windows-sound.sh [EXE]   (default build-windows/quittenhain.exe)
# With MEASURE_PAPLAY=1 PulseAudio's paplay plays the music instead, as a
# control of the recipe itself.
# Needs pulseaudio, pulseaudio-utils, ffmpeg, python3, Xvfb and Wine;
# installs what is missing with apt-get.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$root/build-windows/quittenhain.exe}
spin=${SPIN:-15}
settle=8   # seconds of quiet playing before the spinning starts
[ -f "$exe" ] || { echo "no $exe: run scripts/build-windows.sh first" >&2; exit 2; }

source "$root/scripts/lib/apt.sh"
install_packages pulseaudio pulseaudio-utils ffmpeg python3 xvfb wine wine64

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  WINEPREFIX="$work/wine" wineserver -k 2>/dev/null || true
  PULSE_RUNTIME_PATH="$work/pulse" pulseaudio --kill 2>/dev/null || true
  [ -n "${MEASURE_KEEP:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

# A private PulseAudio server whose default sink is a null sink: it plays
# nothing, keeps real time, and its monitor is what was played.
export XDG_RUNTIME_DIR="$work/runtime" PULSE_RUNTIME_PATH="$work/pulse" HOME="$work/home"
mkdir -p "$XDG_RUNTIME_DIR" "$PULSE_RUNTIME_PATH" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"
pulseaudio -D --exit-idle-time=-1 --disallow-exit -n --load=module-native-protocol-unix \
  --log-target=file:"$work/pulse.log" 2>/dev/null
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl load-module module-null-sink sink_name=measure >/dev/null
pactl set-default-sink measure

source "$root/scripts/lib/xvfb.sh"
start_xvfb
pids+=("$xvfb_pid")
export WINEPREFIX="$work/wine" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv=d"
wineboot -i >/dev/null 2>&1 || true
wineserver -w

ffmpeg -v error -i "$root/res/music.mp3" -f s16le -ar 44100 -ac 2 "$work/music.raw"
parec -d measure.monitor --format=s16le --rate=44100 --channels=2 --latency-msec=20 > "$work/played.raw" &
recorder=$!
pids+=($recorder)
started=$(date +%s%N)
seconds_since_start() { awk -v now="$(date +%s%N)" -v t0="$started" 'BEGIN { printf "%.2f", (now - t0) / 1e9 }'; }
if [ -n "${MEASURE_PAPLAY:-}" ]; then
  # The control: PulseAudio's own player with the same music, same load.
  paplay --raw --format=s16le --rate=44100 --channels=2 "$work/music.raw" &
else
  wine "$exe" --windowed >"$work/demo.log" 2>&1 &
fi
pids+=($!)
sleep "$settle"
spinners=()
for _ in 1 2; do
  bash -c 'while :; do :; done' &
  spinners+=($!)
  pids+=($!)
done
spin_from=$(seconds_since_start)
sleep "$spin"
kill "${spinners[@]}" 2>/dev/null || true
spin_to=$(seconds_since_start)
echo "load average at the end of the spinning: $(cut -d' ' -f1 /proc/loadavg)"
sleep 2
kill "$recorder"
wineserver -k 2>/dev/null || true
python3 "$root/scripts/windows-sound-analysis.py" "$work/music.raw" "$work/played.raw" "$spin_from" "$spin_to"
