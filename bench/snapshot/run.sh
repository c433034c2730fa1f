#!/usr/bin/env bash
# Runs the snapshot pace benchmark: once with a scripted pointer (offscreen),
# once with the real pointer under a private Xvfb display when Xvfb is there.
# Usage: bench/snapshot/run.sh [BUILD_DIR] [SECONDS_PER_PHASE]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${1:-$ROOT/_build}"
SECONDS_PER_PHASE="${2:-3}"
cmake --build "$BUILD" --target snapshot_pace -j"$(nproc)" >/dev/null
BIN="$BUILD/bin/snapshot_pace"

QT_QPA_PLATFORM=offscreen "$BIN" --seconds "$SECONDS_PER_PHASE" 2>/dev/null

if command -v Xvfb >/dev/null; then
    exec 3< <(Xvfb -noreset -displayfd 1 -screen 0 1280x1024x24 2>/dev/null)
    XVFB_PID=$!
    trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
    read -r -t 10 DISPLAY_NUMBER <&3
    DISPLAY=":$DISPLAY_NUMBER" QT_QPA_PLATFORM=xcb "$BIN" --cursor --seconds "$SECONDS_PER_PHASE" 2>/dev/null
fi
