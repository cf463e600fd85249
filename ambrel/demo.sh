#!/usr/bin/env bash
# Runs ambrel against the stand-in nox.dll for a few seconds and reports the
# files it wrote: a raw RGB32 run, then a run writing BMP files.
#   ambrel/demo.sh ARCH BIN_DIR OUT_DIR
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ARCH="$1" BIN="$(cd "$2" && pwd)" OUT="$3"
# Longer in the emulated guest, where ambrel alone takes ~10 s to start.
SECONDS_STREAMING="${NOXD_AMBREL_SECONDS:-3}"

# Streams for a while, then gives ambrel the Enter it waits for.
run_ambrel() {
    local folder="$1"; shift
    mkdir -p "$folder"
    (cd "$folder" &&
        { sleep "$SECONDS_STREAMING"; echo; } |
        "$ROOT/tools/wine-exec" --arch "$ARCH" "$BIN/ambrel.exe" "$@" >console.txt)
    echo "[ambrel] $folder: $(grep -c '^input encoded' "$folder/console.txt") encoded," \
         "$(grep -c '^output decoded' "$folder/console.txt") decoded frames"
    (cd "$folder" && ls -l --time-style=+ -- * | awk '{print "[ambrel]   " $5 "\t" $NF}')
}

rm -rf "$OUT/ambrel"
run_ambrel "$OUT/ambrel/raw" -i10.0.0.1:8000 -ladmin:secret -f1 -t25
run_ambrel "$OUT/ambrel/bmp" -i10.0.0.1:8000 -ladmin:secret -f1 -t25 -bmp -dshot.rgb
