#!/usr/bin/env bash
# The real vedivavurir under Xvfb with a window manager, driven by xdotool as a
# user would: type a name into "pdb name", click "Create Th&eme", wait for the
# database; then open both theme windows through "&View Theme". Screenshots of
# the main window and the two theme windows land in OUTPUT_DIR.
# Usage: gui_smoke.sh BIN_DIR DATA_DIR OUTPUT_DIR
set -euo pipefail
BIN="$1"
DATA="$2"
OUT="$3"
for tool in Xvfb openbox xdotool xprop import; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/test installs it)"; exit 1; }
done
mkdir -p "$OUT"
rm -f "$OUT"/*.png
WORK="$(mktemp -d)"
PIDS=()
cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Xvfb picks a free display and writes its number to fd 3.
exec 3<> <(:)
Xvfb -noreset -displayfd 3 -screen 0 1280x1024x24 >"$WORK/xvfb.log" 2>&1 &
PIDS+=($!)
read -r -t 20 display <&3 || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
export DISPLAY=":$display"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
openbox >"$WORK/openbox.log" 2>&1 &
PIDS+=($!)
sleep 1

START="$WORK/start"
mkdir -p "$START"
cp -r "$DATA/." "$START/"
mkdir -p "$START/PDBFiles"
convert -size 320x240 xc:black "BMP3:$START/resource.bmp"

# Sets the saved SystemScreen: list index at offset 10, its text at offset 50.
set_screen() {
    local index="$1" text="$2"
    printf '%b' "$(printf '\\x%02x\\x00\\x00\\x00' "$index")" | dd of="$START/vkdm_settings.cfg" bs=1 seek=10 conv=notrunc status=none
    printf '%-20s' "" | tr ' ' '\0' | dd of="$START/vkdm_settings.cfg" bs=1 seek=50 conv=notrunc status=none
    printf '%s' "$text" | dd of="$START/vkdm_settings.cfg" bs=1 seek=50 conv=notrunc status=none
}
set_screen 0 "160x160 Low"

(cd "$START" && exec "$BIN/vedivavurir") >"$WORK/program.log" 2>&1 &
APP=$!
PIDS+=("$APP")

visible_window() { # the one visible window of the program, waiting up to 20 s
    local wid=""
    for _ in $(seq 100); do
        wid="$(xdotool search --onlyvisible --pid "$APP" 2>/dev/null | tail -1 || true)"
        [ -n "$wid" ] && { echo "$wid"; return 0; }
        sleep 0.2
    done
    return 1
}
click() { # window x y: client coordinates
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.3
}

MAIN="$(visible_window)" || fail "the main window did not appear: $(cat "$WORK/program.log")"
sleep 1
# The title the window manager shows is the language file's caption alone.
title="$(xprop -id "$MAIN" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME([A-Z0-9_]*) = "\(.*\)"$/\1/p')"
[ "$title" = "Vedi Vavurir" ] || fail "the main window's title is \"$title\", not its caption"
click "$MAIN" $((248 + 20)) $((128 + 10)) # Edit1
xdotool type --delay 50 "Smoke Theme"
sleep 0.3
import -window "$MAIN" "$OUT/main-window.png"
click "$MAIN" $((450 + 45)) $((96 + 10)) # Button2, Create Th&eme
for _ in $(seq 150); do
    [ -s "$START/PDBFiles/Smoke Theme.pdb" ] && [ ! -e "$START/vkdm_script.rcp" ] && break
    sleep 0.2
done
[ -s "$START/PDBFiles/Smoke Theme.pdb" ] || fail "Create Theme wrote no database: $(cat "$WORK/program.log")"
[ "$(head -c 11 "$START/PDBFiles/Smoke Theme.pdb")" = "Smoke Theme" ] || fail "the database name is not stamped"
[ -z "$(find "$START/ThmeRsrc" -name '*.bmp')" ] || fail "pieces were left in ThmeRsrc"

# View Theme opens the low-resolution window; the settings then name a Sony
# screen, which the main window reads when it is active again.
click "$MAIN" $((351 + 48)) $((96 + 10)) # Button3, View Theme
LOW="$(visible_window)" || fail "the low-resolution theme window did not appear"
sleep 1
import -window "$LOW" "$OUT/theme-window-low.png"
set_screen 3 "320x480 Sony"
xdotool windowactivate --sync "$LOW" key alt+F4
sleep 1
MAIN="$(visible_window)" || fail "the main window did not come back"
click "$MAIN" $((351 + 48)) $((96 + 10))
HIGH="$(visible_window)" || fail "the high-resolution theme window did not appear"
[ "$HIGH" != "$MAIN" ] || fail "View Theme showed no window"
sleep 1
import -window "$HIGH" "$OUT/theme-window-high.png"
xdotool windowactivate --sync "$HIGH" key alt+F4
sleep 0.5
kill -0 "$APP" || fail "the program ended: $(cat "$WORK/program.log")"
for shot in main-window theme-window-low theme-window-high; do
    [ -s "$OUT/$shot.png" ] || fail "no screenshot $shot.png"
done
# SIGTERM (a session that logs out) ends the program in order: exit 143, no
# work folder or lock left behind.
kill -TERM "$APP"
status=0
for _ in $(seq 50); do
    kill -0 "$APP" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$APP" 2>/dev/null && fail "the program did not end on SIGTERM"
wait "$APP" || status=$?
[ "$status" = 143 ] || fail "the program ended with $status on SIGTERM, not 143"
[ -z "$(find "$START" -maxdepth 1 \( -name '.vkdm-build-*' ! -name .vkdm-build-spare \) -o -maxdepth 1 -name vkdm_build.lock)" ] ||
    fail "a work folder or the lock was left behind"
echo "gui smoke ok; screenshots in $OUT"
