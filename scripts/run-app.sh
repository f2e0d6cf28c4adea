#!/usr/bin/env bash
# Sets up, builds and starts the application. Extra arguments go to the program, for example
# --demo (no controller), --simulate (a simulated controller) or --port /dev/ttyUSB0.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"
"$here/scripts/build.sh" build -DTORVA_BUILD_TESTS=OFF -DTORVA_BUILD_BENCH=OFF
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display available: run 'xvfb-run $here/build/bin/torva-diesel --demo' (or with" \
         "QT_QPA_PLATFORM=offscreen), or use the command-line tool '$here/build/bin/torvactl --help'." >&2
    exit 1
fi
exec "$here/build/bin/torva-diesel" "$@"
