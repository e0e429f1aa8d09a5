#!/usr/bin/env bash
# A display and a warm Wine for one build tree's tests (and for the demo).
#
#   wine-session.sh start STATE_DIR PREFIX [--palette]
#   wine-session.sh stop  STATE_DIR
#   wine-session.sh prefix PREFIX      (only makes sure the prefix exists)
#
# start: creates PREFIX once (wineboot -i, no crash dialog, frames drawn by Wine), starts an Xvfb
# on a free display with openbox on it (and, with --palette, a second 8-bit one), and keeps a
# persistent wineserver for PREFIX. STATE_DIR/session.env then holds DISPLAY and PALETTE_DISPLAY;
# the pid files beside it are what stop uses. stop undoes all of it and may run any number of times.
#
# Every daemon gets every descriptor redirected: whatever inherits ctest's pipes keeps ctest waiting.
set -euo pipefail

readonly WINE64=/usr/lib/wine/wine64
readonly WINESERVER=/usr/lib/wine/wineserver64
readonly READY_MARK=.prefix-ready
readonly START_TIMEOUT_S=60

die() { echo "wine-session: $*" >&2; exit 1; }

wine_env() {
    export WINEPREFIX=$1
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINESERVER
}

# Signals the process whose pid a file recorded, if it is still the program that was started there.
signal_recorded() {
    local signal=$1 pidfile=$2 program=$3 pid
    [[ -f $pidfile ]] || return 0
    pid=$(<"$pidfile")
    [[ $pid =~ ^[0-9]+$ ]] && alive "$pid" || return 0
    tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q -- "$program" && kill "-$signal" "$pid" 2>/dev/null || true
}

# A zombie counts as gone: whoever adopted it reaps it in its own time.
alive() {
    local state
    state=$(sed -n 's/^State:[[:space:]]*\([A-Z]\).*/\1/p' "/proc/$1/status" 2>/dev/null) || return 1
    [[ -n $state && $state != Z && $state != X ]]
}

# Stops the recorded programs: TERM to all, a few seconds' grace, then KILL.
stop_recorded() {
    local state=$1 name pidfile pid
    local -a pidfiles=()
    for name in main palette; do
        pidfiles+=("$state/$name.openbox.pid:openbox" "$state/$name.xvfb.pid:Xvfb")
    done
    for pidfile in "${pidfiles[@]}"; do signal_recorded TERM "${pidfile%:*}" "${pidfile##*:}"; done
    for _ in $(seq 50); do
        local running=0
        for pidfile in "${pidfiles[@]}"; do
            [[ -f ${pidfile%:*} ]] && pid=$(<"${pidfile%:*}") && alive "$pid" && running=1
        done
        ((running)) || break
        sleep 0.1
    done
    for pidfile in "${pidfiles[@]}"; do
        signal_recorded KILL "${pidfile%:*}" "${pidfile##*:}"
        rm -f "${pidfile%:*}"
    done
}

# Polls a condition (a command) until it holds.
wait_for() {
    local what=$1 deadline=$((SECONDS + START_TIMEOUT_S))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || die "$what did not start within ${START_TIMEOUT_S}s"
        sleep 0.05
    done
}

# Starts Xvfb on the first free display number (Xvfb picks it and reports it on -displayfd) and
# openbox on it: without a window manager the first click only activates and keys never arrive.
start_display() {
    local state=$1 name=$2 depth=$3
    local numfile=$state/$name.display-number
    rm -f "$numfile" "$state/$name.openbox-ready"
    Xvfb -displayfd 3 -screen 0 "1024x768x$depth" -nolisten tcp -noreset \
        </dev/null >"$state/$name.xvfb.log" 2>&1 3>"$numfile" &
    echo $! >"$state/$name.xvfb.pid"
    wait_for "Xvfb ($name)" test -s "$numfile"
    local display=:$(tr -dc 0-9 <"$numfile")
    # openbox runs the startup command once it manages the screen.
    DISPLAY=$display openbox --sm-disable --startup "touch '$state/$name.openbox-ready'" \
        </dev/null >"$state/$name.openbox.log" 2>&1 &
    echo $! >"$state/$name.openbox.pid"
    wait_for "openbox ($name)" test -e "$state/$name.openbox-ready"
    echo "$display"
}

create_prefix() {
    local prefix=$1 t0=$SECONDS
    echo "wine-session: creating the Wine prefix $prefix"
    rm -rf "$prefix"
    mkdir -p "$prefix"
    "$WINE64" wineboot -i </dev/null >/dev/null 2>&1
    "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        </dev/null >/dev/null 2>&1
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f \
        </dev/null >/dev/null 2>&1
    # Let the server write the registry out before the prefix counts as made.
    "$WINESERVER" -w
    touch "$prefix/$READY_MARK"
    echo "wine-session: prefix created in $((SECONDS - t0))s"
}

cmd_stop() {
    local state=$1
    [[ -d $state ]] || return 0
    if [[ -f $state/prefix ]]; then
        local prefix
        prefix=$(<"$state/prefix")
        if [[ -d $prefix ]]; then
            wine_env "$prefix"
            "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
        fi
        rm -f "$state/prefix"
    fi
    stop_recorded "$state"
    rm -f "$state/session.env"
}

cmd_start() {
    local state=$1 prefix=$2 palette=${3:-}
    mkdir -p "$state"
    state=$(cd "$state" && pwd)
    mkdir -p "$(dirname "$prefix")"
    prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")
    # A session left over from an interrupted run goes first; a start that does not get as far as
    # writing session.env takes down what it had started.
    cmd_stop "$state"
    trap 'exit 143' TERM INT
    trap "[[ -f '$state/session.env' ]] || cmd_stop '$state'" EXIT

    local display palette_display=
    display=$(start_display "$state" main 24)
    if [[ $palette == --palette ]]; then
        palette_display=$(start_display "$state" palette 8)
    fi

    wine_env "$prefix"
    export DISPLAY=$display
    echo "$prefix" >"$state/prefix"
    [[ -f $prefix/$READY_MARK ]] || create_prefix "$prefix"

    # The persistent server; the first program then starts Wine's services and desktop on this
    # display, which is the slow part of a cold start.
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
    "$WINE64" wineboot </dev/null >/dev/null 2>&1
    # Wine's desktop process starts with the first program that needs a desktop window; started
    # from a test, it would inherit that test's output pipe and keep its reader waiting.
    "$WINE64" rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1

    {
        echo "DISPLAY=$display"
        echo "PALETTE_DISPLAY=$palette_display"
    } >"$state/session.env"
    echo "wine-session: DISPLAY=$display${palette_display:+ PALETTE_DISPLAY=$palette_display} WINEPREFIX=$prefix"
}

cmd_prefix() {
    local prefix=$1
    mkdir -p "$prefix"
    prefix=$(cd "$prefix" && pwd)
    wine_env "$prefix"
    [[ -f $prefix/$READY_MARK ]] || create_prefix "$prefix"
}

case ${1:-} in
prefix) (($# == 2)) || die "usage: $0 prefix PREFIX"; cmd_prefix "$2" ;;
start) (($# >= 3)) || die "usage: $0 start STATE_DIR PREFIX [--palette]"; cmd_start "$2" "$3" "${4:-}" ;;
stop) (($# == 2)) || die "usage: $0 stop STATE_DIR"; cmd_stop "$2" ;;
*) die "usage: $0 start STATE_DIR PREFIX [--palette] | stop STATE_DIR | prefix PREFIX" ;;
esac
