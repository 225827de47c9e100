#!/usr/bin/env bash
# Builds every reader's fuzz target with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer (also out-of-range float-to-integer conversions
# and implicit conversions that change a value), and runs each for its share
# of a bounded total time (seconds, 90 by default; two targets run at a
# time, so that takes half as long), from seeds made of the
# compiled-in data, small scenes (fuzz/seeds/) and a few small texts.  Prints
# each target's number of runs; a report from any
# target stops the script with its log and the input that caused it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-90}"
work="${QH_FUZZ_DIR:-$root/build-fuzz}"
rm -rf "$work/corpus"
mkdir -p "$work"

build() {   # target name, then the sources it needs besides its own
    local name="$1"
    shift
    clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined,float-cast-overflow,implicit-conversion -fno-sanitize-recover=all \
        -I"$root" "$root/fuzz/$name.cpp" "$@" -o "$work/$name"
}

seed() {   # target name, then files to copy into its corpus
    mkdir -p "$work/corpus/$1"
    local name="$1"
    shift
    cp "$@" "$work/corpus/$name/"
}

# Small scenes of every block kind rather than the real ones (megabytes
# each): a fuzzer mutates and runs a small input thousands of times faster.
build SceneParserFuzz "$root/scene/SceneParser.cpp" "$root/assets/TextFields.cpp"
seed SceneParserFuzz "$root"/fuzz/seeds/SceneParserFuzz/*.scene
printf '1201;1\r\n0\r\n-1\r\n' >"$work/corpus/SceneParserFuzz/empty.scene"
printf '2;1\r\n0\r\n1\r\nL\r\n1;0;0\r\n0;1;0\r\n0;0;1\r\n0;0;0\r\n0;0;0\r\n0;0;1\r\n0\r\n1;1;1\r\n0;0;0\r\n0\r\n1\r\n1\r\n2;1\r\n1;2;3\r\n4;5;6\r\n0\r\n0\r\n1\r\n' \
    >"$work/corpus/SceneParserFuzz/light.scene"

build SyncTracksFuzz "$root/assets/SyncTracks.cpp" "$root/assets/TextFields.cpp"
seed SyncTracksFuzz "$root/res/sync.txt"
printf '2\r\nA\r\n3\r\n1.5;2;3\r\nB\r\n1\r\n4' >"$work/corpus/SyncTracksFuzz/small.txt"

build TextFieldsFuzz "$root/assets/TextFields.cpp"
seed TextFieldsFuzz "$root/res/sync.txt"
printf ' -12;+7;0x1A;1e5;-1440.5504\r\n.5;inf;nan;99999999999;-0;1.17549435e-38;3.5e38' \
    >"$work/corpus/TextFieldsFuzz/numbers.txt"

build SplashTgaFuzz "$root/app/SplashPicture.cpp" "$root/assets/TgaDecoder.cpp"
seed SplashTgaFuzz "$root/res/textures/SPLASH.TGA"
# A 2x2 picture stored top row first.
printf '\0\0\2\0\0\0\0\0\0\0\0\0\2\0\2\0\40\50%016d' 0 >"$work/corpus/SplashTgaFuzz/small.tga"

# Packs written by the packing tool itself: two resources, and one whose
# type and name hold bytes above 127.
build ResourcePackFuzz "$root/assets/ResourcePack.cpp"
clang++ -std=c++17 -O1 -I"$root" "$root/tools/pack/PackResources.cpp" "$root/assets/ResourcePack.cpp" \
    -o "$work/pack-resources"
mkdir -p "$work/corpus/ResourcePackFuzz"
printf '3\r\n' >"$work/sync.txt"
"$work/pack-resources" "$work/corpus/ResourcePackFuzz/two.data" ZYT_MUCKE ZYT_MUCKE_DAT "$work/sync.txt" \
    ZYT_JPEGTEX WHITE.JPG "$root/fuzz/seeds/SceneParserFuzz/objects-lights-camera.scene"
"$work/pack-resources" "$work/corpus/ResourcePackFuzz/high.data" "$(printf 'T\351')" "$(printf 'N\374')" "$work/sync.txt"

# TurboJPEG from Debian's source package, built with the fuzzer's coverage
# instrumentation and AddressSanitizer, so that the fuzzer sees which paths
# of the decoder an input takes (the system's library is opaque to it).  C
# code only: the SIMD assembly would be as opaque.  Built once per folder.
jpeg="$work/jpeg-prefix"
if [ ! -f "$jpeg/lib/libturbojpeg.a" ]; then
    source "$root/scripts/lib/debian-source.sh"
    source "$root/scripts/lib/dependencies.sh"
    build_turbojpeg "$work/src" "$jpeg" env CC=clang cmake -DCMAKE_BUILD_TYPE=None \
        -DCMAKE_C_FLAGS="-g -O1 -fsanitize=fuzzer-no-link,address"
fi
build JpegDecodeFuzz "$root/assets/JpegDecoder.cpp" -I"$jpeg/include" "$jpeg/lib/libturbojpeg.a"
seed JpegDecodeFuzz "$root"/res/textures/*.JPG

targets=(SceneParserFuzz SyncTracksFuzz TextFieldsFuzz SplashTgaFuzz JpegDecodeFuzz ResourcePackFuzz)
share=$((seconds / ${#targets[@]}))
fuzz() {
    local name=$1 log="$work/$1.log" max_len=() runs coverage
    # Room for a few of the seed scenes in a row, small enough for speed.
    [ "$name" = SceneParserFuzz ] && max_len=(-max_len=8192)
    if ! "$work/$name" -max_total_time="$share" "${max_len[@]}" -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$work/$name-" "$work/corpus/$name" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$name: a report (log $log)" >&2
        return 1
    fi
    runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log")
    coverage=$(sed -n 's/.*DONE *cov: \([0-9]*\).*/\1/p' "$log" | tail -1)
    echo "$name: $runs runs in $share s, $coverage coverage points, no report"
}
# A fuzzer runs on one core: two at a time, each its full share.
for ((i = 0; i < ${#targets[@]}; i += 2)); do
    fuzz "${targets[i]}" &
    first=$!
    status=0
    if [ $((i + 1)) -lt ${#targets[@]} ]; then fuzz "${targets[i + 1]}" || status=1; fi
    wait "$first" || status=1
    [ "$status" -eq 0 ] || exit 1
done
