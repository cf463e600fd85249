#!/usr/bin/env bash
# tools/wine-exec's display: started when none runs, reused while it runs,
# started again after it died (its socket and lock file left behind), and
# never holding the start-up lock once running; a pixel-reading case waits
# while another run's case holds the display. Uses a display of its own.
set -euo pipefail
WINE_EXEC="$1"
N=78
export NOXD_XVFB_DISPLAY=$N
unset DISPLAY
ROOT="$(cd "$(dirname "$WINE_EXEC")/.." && pwd)"
LOCK="$ROOT/.deps/xvfb-$N.lock"

fail() { echo "FAIL: $*" >&2; exit 1; }
server_pid() { tr -dc 0-9 < "/tmp/.X$N-lock"; }
# A killed server that was not reaped yet keeps its /proc entry in state Z.
runs() { [ -r "/proc/$1/stat" ] && [ "$(sed 's/.*) //; s/ .*//' "/proc/$1/stat")" != Z ]; }
stop_server() {
    local pid; pid="$(server_pid 2>/dev/null)" || return 0
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null || true
    sleep 0.3
}
HELD="$(mktemp)" ERR="$(mktemp)"
trap 'stop_server; rm -f /tmp/.X11-unix/X$N /tmp/.X$N-lock "$HELD" "$ERR"' EXIT

stop_server
[ "$("$WINE_EXEC" --display)" = ":$N" ] || fail "display not :$N"
first="$(server_pid)"
runs "$first" || fail "no server after the first start"
timeout 5 flock -n "$LOCK" true || fail "the running server holds the start-up lock"

"$WINE_EXEC" --display >/dev/null
[ "$(server_pid)" = "$first" ] || fail "a running server was replaced"

kill -9 "$first"; sleep 0.3
[ -S "/tmp/.X11-unix/X$N" ] && [ -f "/tmp/.X$N-lock" ] || fail "a killed server left no files; the case proves nothing"
err="$("$WINE_EXEC" --display 2>&1 >/dev/null)"
second="$(server_pid)"
[ "$second" != "$first" ] && runs "$second" || fail "a dead server was not replaced"
[[ "$err" == *"display :$N had gone; starting it again"* ]] || fail "no report of the dead server: $err"
# Wine's services, started by the first program of a prefix, outlive it and
# keep its output open: started beforehand, the case's own start is quick.
"$WINE_EXEC" --arch x86_64 --prepare >/dev/null 2>&1
rm -f "$HELD"
flock "/tmp/.noxd-display-$N.lock" sh -c "sleep 4; touch '$HELD'" &
sleep 0.5
NOXD_DISPLAY_EXCLUSIVE=1 "$WINE_EXEC" --arch x86_64 cmd /c exit 0 >/dev/null 2>"$ERR"
[ -f "$HELD" ] || fail "a pixel-reading case ran while another held the display"
grep -q "display :$N is busy with another run's case; waiting" "$ERR" || fail "no word of the wait: $(cat "$ERR")"
echo "PASS"
