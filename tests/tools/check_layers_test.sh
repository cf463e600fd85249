#!/usr/bin/env bash
# The layer check on a copy of the tree: it passes as the tree is, and fails,
# naming the file, once an upward include or a Windows header is planted.
#   check_layers_test.sh CHECK_LAYERS SOURCE_ROOT
set -euo pipefail

CHECK="$1"
SOURCE="$2"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

fresh_copy() {
    rm -rf "$WORK/tree" && mkdir -p "$WORK/tree"
    cp -r "$SOURCE"/{math,include,renderer,osd,interaction,api} "$WORK/tree/"
}

# Runs the check on the copy and expects it to fail with `message`.
expect_failure() {
    local message="$1"
    if "$CHECK" "$WORK/tree" 2>"$WORK/err"; then
        echo "FAIL: the check passed; expected: $message" >&2; exit 1
    fi
    if ! grep -qF "$message" "$WORK/err"; then
        echo "FAIL: expected '$message', got:" >&2; cat "$WORK/err" >&2; exit 1
    fi
}

fresh_copy
"$CHECK" "$WORK/tree" || { echo "FAIL: the unchanged tree fails the check" >&2; exit 1; }

# The renderer core reaching up into the interaction.
fresh_copy
sed -i '0,/#include "renderer_lock.h"/s//#include "renderer_lock.h"\n#include "cgl_renderer.h"/' \
    "$WORK/tree/renderer/renderer_core.h"
expect_failure "renderer/renderer_core.h includes cgl_renderer.h of interaction/, a higher layer"

# The overlays reaching up by path.
fresh_copy
printf '#include "interaction/rubber_band.h"\n' >>"$WORK/tree/osd/osd_list.cpp"
expect_failure "osd/osd_list.cpp includes interaction/rubber_band.h of interaction/, a higher layer"

# The maths taking in Windows.
fresh_copy
printf '#include <windows.h>\n' >>"$WORK/tree/math/pointer_math.cpp"
expect_failure "math/pointer_math.cpp includes windows.h; the maths is free of Windows and GL"

echo "check-layers: passes the tree, fails each planted include"
