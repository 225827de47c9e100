#!/usr/bin/env bash
# Builds the scene parser's fuzz target with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs it for a bounded time (seconds, 60 by
# default) from the four scene texts and a few small ones.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
work="${QH_FUZZ_DIR:-$root/build-fuzz}"
mkdir -p "$work/corpus"
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$root" \
    "$root/fuzz/SceneParserFuzz.cpp" "$root/scene/SceneParser.cpp" "$root/assets/TextFields.cpp" \
    -o "$work/scene-parser-fuzz"
cp "$root"/res/scenes/*.scene "$work/corpus/"
printf '1201;1\r\n0\r\n-1\r\n' >"$work/corpus/empty.scene"
printf '2;1\r\n0\r\n1\r\nL\r\n1;0;0\r\n0;1;0\r\n0;0;1\r\n0;0;0\r\n0;0;0\r\n0;0;1\r\n0\r\n1;1;1\r\n0;0;0\r\n0\r\n1\r\n1\r\n2;1\r\n1;2;3\r\n4;5;6\r\n0\r\n0\r\n1\r\n' >"$work/corpus/light.scene"
"$work/scene-parser-fuzz" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -print_final_stats=1 \
    "$work/corpus"
