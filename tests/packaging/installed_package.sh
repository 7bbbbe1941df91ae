#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A Debian package as a user meets it: installed with `apt install ./FILE` into a clean minimal
# root of a release, the program started there by its menu entry's command on this machine's
# virtual display, 146 MHz gives the four dimensions in inches and in centimetres, EXIT ends it
# with status 0, and `apt purge` then leaves nothing of it (in_root_install.sh, inside the root).
# Usage: installed_package.sh ROOT FILE   (DISPLAY set: scripts/test-packages)
set -euo pipefail
root=$1 deb=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib/common.sh"
source "$here/../../scripts/lib/roots.sh"

fail() { echo "FAIL: $(basename "$deb") in $(basename "$root"): $*"; exit 1; }
# In an arm64 root everything runs under qemu, several times slower: longer waits.
slow=1
emulated_root "$root" && slow=4

work=$(mktemp -d)
in_root "$root" bash "$here/in_root_install.sh" "$deb" "$work" >"$work/root.log" 2>&1 &
inside=$!
trap 'kill "$inside" 2>/dev/null || true; rm -rf "$work"' EXIT
# apt fetches Qt first: up to a few minutes.
for _ in $(seq 1 $((3000 * slow))); do
    [ -e "$work/started" ] && break
    kill -0 "$inside" 2>/dev/null || { cat "$work/root.log"; fail "the install failed"; }
    sleep 0.1
done
[ -e "$work/started" ] || fail "apt did not install it within $((5 * slow)) minutes"
started=$(date +%s%N)
form1=$(wait_for_window 'Vorrel Designer' $((30 * slow)) 2>/dev/null) || { cat "$work/program.log"; fail "no designer window"; }
echo "first window after $(( ($(date +%s%N) - started) / 1000000 )) ms"

xdotool windowmove --sync "$form1" 40 40
xdotool mousemove --window "$form1" 308 88 click 1 key ctrl+a type --delay 30 146
xdotool mousemove --window "$form1" 436 88 click 1                  # INCHES
values=$(read_results "$form1" $((20 * slow)))
[ "$values" = "57.329 19.089 1.13 2.363" ] || fail "146 MHz in inches gave '$values'"
echo "146 MHz, INCHES: $values"
xdotool mousemove --window "$form1" 548 88 click 1                  # CM
values=$(read_results "$form1" $((20 * slow)))
[ "$values" = "145.615 48.486 2.871 6.002" ] || fail "146 MHz in centimetres gave '$values'"
echo "146 MHz, CM: $values"
xdotool mousemove --window "$form1" 568 384 click 1                 # EXIT

status=0
wait "$inside" || status=$?
grep -v '^first window' "$work/root.log"
[ "$(cat "$work/status" 2>/dev/null)" = 0 ] || fail "EXIT ended the program with status '$(cat "$work/status" 2>/dev/null)'"
[ "$status" -eq 0 ] || fail "the purge check failed"
echo "PASS: $(basename "$deb") installed, used and purged in a clean Debian $(basename "$root" | sed 's/-[0-9a-f]*$//; s/-/ /')"
