#!/usr/bin/env bash
# Builds the x86_64 tree and runs the launcher from the demo CD (build/win64/cd) under Wine, with
# that folder as its current directory, as autorun would.
#
# With DISPLAY set, the launcher opens on your display and the script ends when you close it.
# Without, it runs on a display of its own, waits for the launcher window, saves
# build/screenshot.png, closes the launcher with Esc and tears everything down.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly BUILD=$root/build/win64
readonly CD=$BUILD/cd
# Its own prefix, so that a demo never shares a wineserver with a test run of the same tree.
readonly PREFIX=$BUILD/demo-wineprefix
readonly STATE=$BUILD/demo-session
readonly SCREENSHOT=$root/build/screenshot.png
readonly WINDOW_TIMEOUT_S=60
readonly EXIT_TIMEOUT_S=20

die() { echo "demo: $*" >&2; exit 1; }

"$root/scripts/install-deps.sh"
cd "$root"
cmake --preset win64
cmake --build --preset win64
[[ -f $CD/Setup.exe ]] || die "the demo CD has no Setup.exe ($CD)"

export WINEPREFIX=$PREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINESERVER=/usr/lib/wine/wineserver64

if [[ -n ${DISPLAY:-} ]]; then
    "$root/scripts/wine-session.sh" prefix "$PREFIX"
    echo "demo: the launcher runs on $DISPLAY; close it to end"
    cd "$CD"
    /usr/lib/wine/wine64 Setup.exe </dev/null
    exit 0
fi

launcher=
teardown() {
    if [[ -n $launcher ]] && kill -0 "$launcher" 2>/dev/null; then
        kill "$launcher" 2>/dev/null || true
    fi
    "$root/scripts/wine-session.sh" stop "$STATE"
}
trap teardown EXIT
trap 'exit 130' INT TERM

"$root/scripts/wine-session.sh" start "$STATE" "$PREFIX"
DISPLAY=$(sed -n 's/^DISPLAY=//p' "$STATE/session.env")
export DISPLAY

(cd "$CD" && exec /usr/lib/wine/wine64 Setup.exe </dev/null >"$BUILD/demo-launcher.log" 2>&1) &
launcher=$!

# Shown means: a visible window titled Setup, and a screen that no longer changes (painted).
deadline=$((SECONDS + WINDOW_TIMEOUT_S))
until xdotool search --onlyvisible --name '^Setup$' >/dev/null 2>&1; do
    kill -0 "$launcher" 2>/dev/null || die "the launcher ended before it showed a window (see $BUILD/demo-launcher.log)"
    ((SECONDS < deadline)) || die "no launcher window within ${WINDOW_TIMEOUT_S}s"
    sleep 0.1
done
previous=
while :; do
    current=$(xwd -root -silent | md5sum)
    [[ $current == "$previous" ]] && break
    ((SECONDS < deadline)) || break
    previous=$current
    sleep 0.3
done
xwd -root -silent | convert xwd:- "png:$SCREENSHOT"
echo "demo: screenshot saved to $SCREENSHOT"

xdotool key Escape
deadline=$((SECONDS + EXIT_TIMEOUT_S))
while kill -0 "$launcher" 2>/dev/null; do
    ((SECONDS < deadline)) || die "the launcher did not close on Esc within ${EXIT_TIMEOUT_S}s"
    sleep 0.1
done
wait "$launcher" || true
launcher=
echo "demo: the launcher closed on Esc"
