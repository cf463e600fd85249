#!/usr/bin/env bash
# The SDK as a Windows developer gets it: `cmake --install` of a built tree
# into a fresh prefix lays out include/, lib/ (with the CMake package), bin/,
# docs/ and examples/, every link of its documents leading to a file it has;
# a separate CMake project finds it with find_package(noxd CONFIG), links
# noxd::noxd through the import library its linker reads, and its program
# draws a frame whose colour it reads back.
#   install_and_host_test.sh BUILD_TREE TOOLCHAIN_FILE WINE_EXEC ARCH mingw|clang-cl|clang
# mingw: tests/sdk/host with the tree's own toolchain, which links
# libnoxd.dll.a. clang-cl, clang: the SDK's examples/msvc_host with
# TOOLCHAIN_FILE a Visual Studio-style one (tests/sdk/msvc/msvc-abi-toolchain.cmake)
# driving that compiler, which links noxd.lib.
set -euo pipefail
TREE="$1" TOOLCHAIN="$2" WINE_EXEC="$3" ARCH="$4" KIND="$5"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

sdk="$work/sdk"
cmake --install "$TREE" --prefix "$sdk" >/dev/null
for file in include/noxd.h lib/libnoxd.dll.a lib/noxd.lib bin/noxd.dll lib/cmake/noxd/noxdConfig.cmake \
            lib/cmake/noxd/noxdConfigVersion.cmake lib/cmake/noxd/noxdTargets.cmake docs/api.md README.md \
            examples/msvc_host/CMakeLists.txt examples/msvc_host/host.c; do
    [ -f "$sdk/$file" ] || fail "the SDK has no $file"
done
# Every relative link of the SDK's documents, anchors aside.
while IFS= read -r document; do
    while IFS= read -r target; do
        target="${target%%#*}"
        [ -z "$target" ] || [ -e "$(dirname "$document")/$target" ] ||
            fail "${document#"$sdk"/} links $target, which the SDK does not have"
    done < <(grep -o '\]([^)]*)' "$document" | sed 's/^](\(.*\))$/\1/' | grep -v '^[a-z]*:')
done < <(find "$sdk" -name '*.md')

if [ "$KIND" != mingw ]; then
    project="$sdk/examples/msvc_host" program=noxd_msvc_host
    library="$sdk/lib/noxd.lib" other="$sdk/lib/libnoxd.dll.a"
    options=(-DNOXD_MSVC_ARCH="$ARCH" -DNOXD_MSVC_DRIVER="$KIND")
else
    project="$HERE/host" program=sdk_host
    library="$sdk/lib/libnoxd.dll.a" other="$sdk/lib/noxd.lib"
    options=()
fi
cmake -S "$project" -B "$work/host" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" "${options[@]}" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$sdk" >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log" >&2; fail "the host project does not configure"; }
cmake --build "$work/host" >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; fail "the host does not build"; }
# The package handed the linker the import library that fits it.
link="$(ninja -C "$work/host" -t commands "$program" | tail -n 1)"
[[ "$link" == *" $library"* && "$link" != *"$other"* ]] || fail "the host was not linked against $library: $link"
[ "$KIND" != mingw ] || cp "$sdk/bin/noxd.dll" "$work/host/"
[ -f "$work/host/noxd.dll" ] || fail "noxd.dll is not beside the program"
output="$(cd "$work/host" && "$WINE_EXEC" --arch "$ARCH" "$work/host/$program.exe" | tr -d '\r')" ||
    fail "the host did not see its frame: $output"
if [ "$KIND" != mingw ]; then
    [ "$output" = "snapshot 4x4, first pixel red 200 green 40 blue 90" ] || fail "the example said: $output"
fi
echo "$output"
