#!/usr/bin/env bash
# Sets up, builds and starts the application. Extra arguments go to the program.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/setup.sh"
"$here/scripts/build.sh" build -DTORVA_BUILD_TESTS=OFF -DTORVA_BUILD_BENCH=OFF
if [ -x "$here/build/bin/torva-diesel" ]; then
    exec "$here/build/bin/torva-diesel" "$@"
fi
# Until the desktop application lands, the command-line tool is what there is to run.
exec "$here/build/bin/torvactl" --help
