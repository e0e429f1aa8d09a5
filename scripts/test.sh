#!/usr/bin/env bash
# Builds the three trees and runs all their tests: host (native, with sanitizers), win64 (real
# Win32 under Wine in Xvfb) and win32 (the shipping build; Wine cannot run it here, its other checks
# run). Ends with a summary whose last line is "N passed, N failed"; exits non-zero if anything
# failed. A tree that does not configure or build counts as one failure.
#
# Interrupted (Ctrl-C, TERM), it still stops the Wine session and its displays.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
readonly PRESETS=(host win64 win32)
readonly PYTHON=/usr/bin/python3
readonly LOGS=$root/build/logs

"$root/scripts/install-deps.sh" || { echo "test.sh: installing the dependencies failed"; echo "0 passed, 1 failed"; exit 1; }
mkdir -p "$LOGS"

# Job control gives every background job a process group of its own: an interrupt then ends a whole
# ctest run, with the test that is running and the programs that test started.
set -m
child=
teardown() {
    "$root/scripts/wine-session.sh" stop "$root/build/win64/wine-session" || true
}
interrupted() {
    trap '' INT TERM
    echo
    echo "test.sh: interrupted; stopping the tests and the Wine session"
    if [[ -n $child ]]; then
        kill -TERM -- "-$child" 2>/dev/null || true
        wait "$child" 2>/dev/null || true
    fi
    teardown
    exit 130
}
trap interrupted INT TERM

# Runs a command in the background and waits for it, so that a signal reaches the trap at once.
run() {
    "$@" </dev/null &
    child=$!
    wait "$child"
    local status=$?
    child=
    return $status
}

# Prints "passed failed skipped" and the names of the failed tests from a ctest JUnit file.
count_junit() {
    "$PYTHON" - "$1" <<'EOF'
import sys
import xml.etree.ElementTree as ET

cases = ET.parse(sys.argv[1]).getroot().iter("testcase")
passed, failed, skipped, names = 0, 0, 0, []
for case in cases:
    status = case.get("status")
    reason = case.find("skipped")
    # As ctest counts: a deliberate skip (return code, output, DISABLED) is no failure; a test that
    # did not run because its executable or its fixture is missing is one.
    deliberate = reason is not None and reason.get("message", "").startswith("SKIP_")
    if status == "run":
        passed += 1
    elif status == "disabled" or (status == "notrun" and deliberate):
        skipped += 1
    else:
        failed += 1
        names.append(case.get("name"))
print(passed, failed, skipped, *names)
EOF
}

total_passed=0 total_failed=0 total_skipped=0
summary=()
failures=()
started=$SECONDS

for preset in "${PRESETS[@]}"; do
    t0=$SECONDS
    echo "==== $preset: configure and build"
    if ! run cmake --preset "$preset"; then
        summary+=("$(printf '%-6s configure FAILED' "$preset")")
        failures+=("$preset: configure")
        ((total_failed++))
        continue
    fi
    if ! run cmake --build --preset "$preset"; then
        summary+=("$(printf '%-6s build FAILED' "$preset")")
        failures+=("$preset: build")
        ((total_failed++))
        continue
    fi

    echo "==== $preset: tests"
    junit=$LOGS/$preset-tests.xml
    rm -f "$junit"
    run ctest --preset "$preset" --parallel 2 --timeout 600 --output-junit "$junit"
    if [[ -s $junit ]] && read -r p f s names < <(count_junit "$junit"); then
        ((total_passed += p, total_failed += f, total_skipped += s))
        for name in $names; do failures+=("$preset: $name"); done
        summary+=("$(printf '%-6s %4d passed %4d failed %4d skipped  (%ds)' "$preset" "$p" "$f" "$s" $((SECONDS - t0)))")
    else
        summary+=("$(printf '%-6s ctest did not report its results' "$preset")")
        failures+=("$preset: ctest")
        ((total_failed++))
    fi
done

echo
echo "==== Summary ($((SECONDS - started))s)"
printf '%s\n' "${summary[@]}"
if ((${#failures[@]})); then
    echo "Failed:"
    printf '  %s\n' "${failures[@]}"
fi
echo "Screenshots of the end-to-end tests: build/win64/e2e-artifacts/"
if ((total_skipped)); then
    echo "$total_passed passed, $total_failed failed, $total_skipped skipped"
else
    echo "$total_passed passed, $total_failed failed"
fi
((total_failed == 0))
