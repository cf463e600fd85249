#!/usr/bin/env bash
# The SDK as a Windows developer gets it: `cmake --install` of a built tree
# into a fresh prefix lays out include/, lib/ (with the CMake package), bin/
# and docs/; a separate CMake project finds it with find_package(noxd CONFIG),
# links noxd::noxd, and its program draws a frame whose colour is read back
# off the screen.
#   install_and_host_test.sh BUILD_TREE TOOLCHAIN_FILE WINE_EXEC ARCH
set -euo pipefail
TREE="$1" TOOLCHAIN="$2" WINE_EXEC="$3" ARCH="$4"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$TREE" --prefix "$work/sdk" >/dev/null
for file in include/noxd.h lib/libnoxd.dll.a bin/noxd.dll lib/cmake/noxd/noxdConfig.cmake \
            lib/cmake/noxd/noxdConfigVersion.cmake lib/cmake/noxd/noxdTargets.cmake docs/api.md README.md; do
    [ -f "$work/sdk/$file" ] || fail "the SDK has no $file"
done

cmake -S "$HERE/host" -B "$work/host" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$work/sdk" >"$work/configure.log" ||
    { cat "$work/configure.log" >&2; fail "the host project does not configure"; }
cmake --build "$work/host" >"$work/build.log" || { cat "$work/build.log" >&2; fail "the host does not build"; }
# The DLL ships beside the program.
cp "$work/sdk/bin/noxd.dll" "$work/host/"
output="$(cd "$work/host" && "$WINE_EXEC" --arch "$ARCH" "$work/host/sdk_host.exe")" ||
    fail "the host did not see its frame: $output"
echo "$output"
