#!/usr/bin/env bash
# tools/check-pe's return check on tiny 32-bit DLLs built here: cdecl exports
# pass, and one planted stdcall export among them is named with its `ret $N`.
set -euo pipefail
CHECK_PE="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# $1: the DLL's name; the rest: C source lines. Exports keep their plain names.
build_dll() {
    local name="$1"; shift
    printf '%s\n' "$@" > "$work/$name.c"
    i686-w64-mingw32-gcc -O2 -shared -Wl,--kill-at -o "$work/$name.dll" "$work/$name.c"
}

cdecl_exports=(
    '__declspec(dllexport) int __cdecl noxd_sum(int a, int b) { return a + b; }'
    '__declspec(dllexport) void __cdecl noxd_fill(int* out, int n) { for (int i = 0; i < n; ++i) out[i] = i; }'
)
build_dll cdecl "${cdecl_exports[@]}"
build_dll planted "${cdecl_exports[@]}" \
    '__declspec(dllexport) int __stdcall noxd_planted(int a, int b) { return a * b; }'

"$CHECK_PE" --returns "$work/cdecl.dll" || fail "cdecl exports refused"

if "$CHECK_PE" --returns "$work/planted.dll" 2>"$work/report"; then
    fail "the stdcall export passed"
fi
grep -q '^  noxd_planted: ret \$0x8$' "$work/report" || fail "report does not name the stdcall export: $(cat "$work/report")"
if grep -q 'noxd_sum\|noxd_fill' "$work/report"; then fail "cdecl exports reported: $(cat "$work/report")"; fi
echo "check-pe: cdecl exports pass, the planted stdcall export is found"
