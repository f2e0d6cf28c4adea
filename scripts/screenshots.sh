#!/usr/bin/env bash
# Saves pictures of the main window in demo mode, its pages, its dialogs and a drive's coverage
# over a calibration page (Polish and English, 1280x800 and the 800x530 minimum) into the given
# folder (default: build/screenshots). No display is needed.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$here/build/screenshots}"
"$here/scripts/build.sh" build >/dev/null
QT_QPA_PLATFORM=offscreen "$here/build/bin/torva-screenshots" "$out"
