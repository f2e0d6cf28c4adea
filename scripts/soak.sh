#!/usr/bin/env bash
# A long run on a bad line (not part of the test run): the application, offscreen, on a
# simulated controller that drops 5 % of its answers, corrupts 2 % and hangs up every 40-90 s,
# recording the whole time while map cells are stepped. Prints how many link drops were
# survived, recording lines against samples polled while connected, edits sent against edits the
# controller holds, and any crash. Usage: scripts/soak.sh [MINUTES] (default 30).
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
minutes="${1:-30}"
"$here/scripts/build.sh" build >/dev/null || exit 1

work="$(mktemp -d /tmp/torva-soak.XXXXXX)"
link="$work/ttyTORVA"
simLog="$work/sim.log"
"$here/build/bin/torva-sim" --link "$link" --drop-percent 5 --corrupt-percent 2 \
    --hangup-every 40-90 --away-ms 3000 --seed "$RANDOM" >/dev/null 2>"$simLog" &
simPid=$!
trap 'kill "$simPid" 2>/dev/null; wait "$simPid" 2>/dev/null' EXIT
for _ in $(seq 50); do
    [ -e "$link" ] && break
    sleep 0.1
done
# The first map page needs emulator 1 on: set it as a fitter would, before the window starts.
"$here/build/bin/torvactl" --port "$link" set 'm_base.m_emuEnable[0]' 1 >/dev/null ||
    echo "soak: could not switch emulator 1 on" >&2

QT_QPA_PLATFORM=offscreen "$here/build/bin/torva-soak" --port "$link" --minutes "$minutes" \
    --record "$work/soak.oscd" 2>"$work/soak.log"
status=$?
echo "hang-ups by the simulator: $(grep -c 'hung up' "$simLog")"
if [ "$status" -gt 128 ]; then
    echo "crash: torva-soak died of signal $((status - 128)) (see $work/soak.log)"
elif [ "$status" -ne 0 ]; then
    echo "crash: none; the figures above did not all hold (exit $status, see $work)"
else
    echo "crash: none"
fi
exit "$status"
