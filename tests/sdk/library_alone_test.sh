#!/usr/bin/env bash
# The library alone builds with nothing but a compiler, GLEW, libyuv and stb's
# image writer: a clean tree with tests, examples and ambrel switched off, where
# GoogleTest and widl point at nothing and stb's folder holds the writer alone,
# so that reaching for anything else fails, builds noxd.dll and its import
# libraries and nothing else.
#   library_alone_test.sh SOURCE_DIR TOOLCHAIN_FILE GLEW_ROOT LIBYUV_ROOT STB_INCLUDE_DIR
set -euo pipefail
SOURCE="$1" TOOLCHAIN="$2" GLEW="$3" LIBYUV="$4" STB="$5"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/stb"
cp "$STB/stb_image_write.h" "$work/stb/"

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake -S "$SOURCE" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DGLEW_ROOT="$GLEW" -DLIBYUV_ROOT="$LIBYUV" \
    -DNOXD_BUILD_TESTS=OFF -DNOXD_BUILD_EXAMPLES=OFF -DNOXD_BUILD_AMBREL=OFF \
    -DGTEST_SOURCE_DIR=/nonexistent -DSTB_INCLUDE_DIR="$work/stb" -DWIDL_EXECUTABLE=/nonexistent/widl \
    >"$work/configure.log" 2>&1 || { cat "$work/configure.log" >&2; fail "configuring the library alone"; }
cmake --build "$work/build" >"$work/build.log" 2>&1 || { tail -n 30 "$work/build.log" >&2; fail "building the library alone"; }
built="$(cd "$work/build/bin" && ls | tr '\n' ' ')"
[ "$built" = "libnoxd.dll.a noxd.dll noxd.lib " ] || fail "built: $built"
echo "library alone: $built"
