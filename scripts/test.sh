#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: once as a normal build, then the Debian package
# from that build with its checks, once under AddressSanitizer and UndefinedBehaviorSanitizer,
# then the parsers' fuzz targets for 15 s each (skip those three passes with --fast).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen

"$here/scripts/build.sh" build
# Twice the cores: most tests wait on the simulator's serial line, not on the processor.
jobs=$((2 * $(nproc)))
ctest --test-dir "$here/build" --output-on-failure -j "$jobs"

if [ "${1:-}" != "--fast" ]; then
    "$here/scripts/package.sh" "$here/build"
    # -O1 with line tables only: what the sanitizers need for readable reports, and much
    # quicker to compile than the normal build's flags.
    "$here/scripts/build.sh" build-asan -DTORVA_SANITIZE=ON -DTORVA_BUILD_BENCH=OFF \
        -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir "$here/build-asan" --output-on-failure -j "$jobs"
    # The parsers under libFuzzer, a bounded time each.
    "$here/scripts/fuzz.sh" 15
fi
