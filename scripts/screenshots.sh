#!/usr/bin/env bash
# Saves pictures of the main window in demo mode, its pages, its dialogs and a drive's coverage
# over a calibration page (Polish and English, 1280x800 and the 800x530 minimum) into the given
# folder (default: build/screenshots). No display is needed.
#   scripts/screenshots.sh --guide [FOLDER]   only the user guide's pictures
#   scripts/screenshots.sh --readme           the README's three pictures in docs/images
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/build.sh" build >/dev/null
tool="$here/build/bin/torva-screenshots"
case "${1:-}" in
--guide)
    QT_QPA_PLATFORM=offscreen "$tool" --guide "${2:-$here/build/screenshots/guide}"
    ;;
--readme)
    # Small copies of three guide pictures, committed so the README shows them anywhere.
    pictures="$here/build/bin/Doc/images"
    for name in main calibration settings-page; do
        convert "$pictures/$name-en.png" -resize 800x +dither -colors 64 -strip \
            -define png:compression-level=9 "PNG8:$here/docs/images/readme-$name.png"
    done
    ;;
*)
    QT_QPA_PLATFORM=offscreen "$tool" "${1:-$here/build/screenshots}"
    ;;
esac
