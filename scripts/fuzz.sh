#!/usr/bin/env bash
# Builds the parsers' libFuzzer targets with clang (AddressSanitizer and UndefinedBehavior-
# Sanitizer, in build-fuzz) and runs each for SECONDS (default 30) from its committed corpus.
# A crash, a hang, a sanitizer report or runaway memory fails the run; the input that did it is
# left in build-fuzz/artifacts.
#
#   scripts/fuzz.sh [SECONDS] [TARGET ...]     targets: settings_file map_file recording
#                                                       firmware_file language_file frame
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build-fuzz"
seconds="${1:-30}"
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(settings_file map_file recording firmware_file language_file frame)

# Longest input per target: room for a whole settings file or firmware image, little more.
declare -A max_len=([settings_file]=131072 [map_file]=8192 [recording]=8192 [firmware_file]=65536
                    [language_file]=8192 [frame]=4096)

# -O1 with line tables: readable reports, quick to build.
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DTORVA_FUZZ=ON \
    -DTORVA_BUILD_TESTS=OFF -DTORVA_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" >/dev/null
cmake --build "$build" --target "${targets[@]/%/_fuzz}"

mkdir -p "$build/artifacts"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in "${targets[@]}"; do
    # New inputs go to a scratch folder; the committed corpus is only read.
    scratch="$build/corpus/$target"
    mkdir -p "$scratch"
    echo "== $target: ${seconds}s"
    "$build/fuzz/${target}_fuzz" -max_total_time="$seconds" -max_len="${max_len[$target]}" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" \
        "$scratch" "$here/fuzz/corpus/$target"
done
