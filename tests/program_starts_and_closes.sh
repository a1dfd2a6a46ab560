#!/usr/bin/env bash
# Starts a copy of the program on Qt's offscreen platform in a folder of its
# own, waits until it idles in its event loop, asks it to close (as a desktop
# logout does) and checks that it ended cleanly and saved its settings.
set -euo pipefail
program="$1"
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
cp "$program" "$folder/bench-tool"
mkdir -m 700 "$folder/run"
XDG_RUNTIME_DIR="$folder/run" QT_QPA_PLATFORM=offscreen "$folder/bench-tool" &
pid=$!
# Idle means asleep in the event loop for several checks in a row.
idle=0
for _ in $(seq 1 200); do
    state="$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null || echo gone)"
    if [[ "$state" == gone ]]; then
        echo "the program ended by itself"
        exit 1
    fi
    if [[ "$state" == S ]]; then
        idle=$((idle + 1))
        ((idle >= 5)) && break
    else
        idle=0
    fi
    sleep 0.05
done
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
if ((status != 0)); then
    echo "exit status $status"
    exit 1
fi
# The renamed copy saves under its own name.
grep -q "^\[TamselSet\]" "$folder/bench-tool.ini" || { echo "no settings saved"; exit 1; }
