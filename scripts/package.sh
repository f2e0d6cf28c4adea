#!/usr/bin/env bash
# Builds the Debian package from a normal build folder (default: build; built first if needed)
# and checks it the way a workshop PC would meet it:
#   - lintian: no errors and no warnings (the informational notes accepted are listed in the
#     README);
#   - the AppStream metainfo and the desktop entry validate;
#   - the package's contents;
#   - installed into a scratch root, torvactl and torva-diesel run from there in demo mode and
#     find their language files there.
# The package lands in BUILD/package/torva-diesel_VERSION_ARCH.deb.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$here/build}" 2>/dev/null && pwd || echo "${1:-$here/build}")"
if [ ! -f "$build/CMakeCache.txt" ]; then
    # The same configuration as scripts/build.sh, for a folder given anywhere.
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
# The guide's pictures come from the screenshots tool, which is built with the tests.
cmake -S "$here" -B "$build" -DTORVA_BUILD_TESTS=ON -DTORVA_GUIDE_PICTURES=ON >/dev/null
cmake --build "$build"
# The guide's pictures are taken when the guide or the screenshots tool's source changes; taken
# again here when the window code changed since, so the package shows what this build shows.
stamp="$build/docs/guide-pictures.stamp"
if [ -f "$stamp" ] && [ "$build/bin/torva-screenshots" -nt "$stamp" ]; then
    rm -f "$stamp"
    cmake --build "$build"
fi
rm -rf "$build/package"
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/package/torva-diesel_*.deb)"
echo "== package: $deb"

fail() {
    echo "package check failed: $*" >&2
    exit 1
}

echo "== lintian"
lintian --fail-on error,warning "$deb"

echo "== metainfo and desktop entry"
appstreamcli validate --no-net "$here/packaging/pl.torva.diesel.metainfo.xml"
desktop-file-validate "$here/data/desktop/torva-diesel.desktop"

echo "== contents"
contents="$(dpkg-deb -c "$deb")"
for path in usr/bin/torva-diesel usr/bin/torvactl usr/bin/torva-sim \
    usr/share/torva-diesel/DIESEL_LANG/ENGLISH.txt usr/share/torva-diesel/DIESEL_LANG/THAI.txt \
    usr/share/torva-diesel/Doc/guide-pl.html usr/share/torva-diesel/Doc/guide-en.html \
    usr/share/torva-diesel/Doc/guide.css usr/share/torva-diesel/Doc/images/main-en.png \
    usr/share/applications/torva-diesel.desktop \
    usr/share/icons/hicolor/scalable/apps/torva-diesel.svg \
    usr/share/metainfo/pl.torva.diesel.metainfo.xml \
    usr/share/bash-completion/completions/torvactl \
    usr/share/man/man1/torva-diesel.1.gz usr/share/man/man1/torvactl.1.gz \
    usr/share/man/man1/torva-sim.1.gz \
    usr/share/doc/torva-diesel/copyright usr/share/doc/torva-diesel/changelog.gz; do
    grep -q " \./$path\$" <<<"$contents" || fail "$path is not in the package"
done
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libqt6widgets6 libc6 libstdc++6; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
echo "Depends: $depends"

echo "== installed into a scratch root"
root="$(mktemp -d "${TMPDIR:-/tmp}/torva-package-XXXXXX")"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
identity="$("$root/usr/bin/torvactl" --demo identify)"
grep -q "^model: KARMEL A2$" <<<"$identity" || fail "torvactl --demo identify said: $identity"
# English texts come from the installed language files; without them the text stays Polish.
set +e
gone="$("$root/usr/bin/torvactl" --lang 1 --port "$root/no-such-port" identify 2>&1)"
status=$?
set -e
[ "$status" -eq 3 ] || fail "torvactl on a missing port exited $status: $gone"
grep -q "is gone" <<<"$gone" || fail "torvactl did not find its language files: $gone"
# The program in demo mode on the offscreen platform: it must still be running after 5 s and
# must not have missed its language files.
set +e
LANGUAGE=en QT_QPA_PLATFORM=offscreen HOME="$root" timeout 5 "$root/usr/bin/torva-diesel" --demo \
    >"$root/app.out" 2>"$root/app.err"
status=$?
set -e
[ "$status" -eq 124 ] || fail "torva-diesel --demo ended with $status: $(cat "$root/app.err")"
if grep -q "language files" "$root/app.err"; then
    fail "torva-diesel: $(cat "$root/app.err")"
fi
echo "== package ok: $deb"
