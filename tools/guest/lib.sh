# Shared by the guest scripts (sourced): where the image is cached, what it
# holds, and how the guest is booted.

# Everything installed into the image. Changing this list, or anything else
# that goes into the image (init, make-prefix, build-image's steps), needs
# GUEST_IMAGE_VERSION raised: the cache key is made of both.
GUEST_PACKAGES=(linux-image-amd64 initramfs-tools kmod wine wine32:i386 wine64 libgl1:i386
                libgl1-mesa-dri:i386 libglx-mesa0:i386 xvfb xauth procps iproute2)
GUEST_IMAGE_VERSION=2
GUEST_CACHE="${NOXD_GUEST_CACHE:-/var/cache/noxd-guest}"
GUEST_PREFIX=/opt/noxd/wineprefix-i686   # the 32-bit Wine prefix made at image build time

guest_log() { printf '[guest] %s\n' "$*" >&2; }

# The mirror the host's apt uses, for debootstrap.
guest_mirror() {
    local url
    url="$(sed -n 's/^URIs:\s*\(\S*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null |
           grep -v security | head -n1)"
    [ -n "$url" ] || url="$(sed -n 's/^deb\s\+\(\[[^]]*\]\s\+\)\?\(\S*\)\s\+bookworm\s.*/\2/p' \
                            /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | head -n1)"
    echo "${url:-http://deb.debian.org/debian}"
}

# The cached image's folder: a key of the package list, the version and the mirror.
guest_image_dir() {
    local key
    key="$(printf '%s\n' "${GUEST_PACKAGES[@]}" "$GUEST_IMAGE_VERSION" "$(guest_mirror)" |
           sha256sum | cut -c1-16)"
    echo "$GUEST_CACHE/image-$key"
}

# guest_boot IMAGE_DIR LIMIT_S KERNEL_ARGS [QEMU_ARGS...]
# Boots the image with its kernel under software emulation (TCG), the serial
# console on our stdout, until the guest powers off or LIMIT_S runs out.
# -cpu qemu64 is required: with -cpu max QEMU 7.2 crashes every 32-bit
# process (SMAP on an iret to 32-bit user mode), and without SMAP GL draws black.
guest_boot() {
    local image="$1" limit="$2" args="$3"; shift 3
    timeout --kill-after=10 "$limit" \
        qemu-system-x86_64 -accel tcg,thread=multi -cpu qemu64 -m 4096 -smp 2 \
        -display none -no-reboot -nic none -monitor none -serial stdio \
        -kernel "$image/vmlinuz" -initrd "$image/initrd.img" \
        -append "root=/dev/vda rw console=ttyS0 init=/noxd-init panic=1 quiet loglevel=3 $args" \
        "$@" </dev/null
}

# guest_job_disk ROOT WORK [TREE]
# Makes WORK/job.img, the disk the guest mounts at ROOT's own path (so paths
# compiled into the tests hold there too): the clone's sources, the 32-bit
# programs and type library of TREE (a build tree inside ROOT, build/ if not
# given; its path goes into .guest/tree), the display-lock library of
# tools/wine-exec when built, and WORK/stage/.guest (the request,
# written by the caller before) with room for what the guest writes back.
# No other build tree of the clone goes in.
guest_job_disk() {
    local root="$1" work="$2" tree="${3:-$1/build}" stage="$2/stage" entry rel
    rel="${tree#"$root"/}"
    if [ "$rel" = "$tree" ] || [ ! -d "$tree/bin" ]; then
        guest_log "no 32-bit build tree with programs inside $root: $tree"
        return 1
    fi
    # The type library, at the path compiled into the tests (the tree's cache has it).
    local tlb
    tlb="$(sed -n 's/^NOX_TLB:INTERNAL=//p' "$tree/CMakeCache.txt")"
    if [ ! -f "$tlb" ] || [ "${tlb#"$tree"/}" = "$tlb" ]; then
        guest_log "no type library in the tree: '$tlb'"
        return 1
    fi
    tlb="${tlb#"$root"/}"
    rm -rf "${stage:?}/$rel" && mkdir -p "$stage/${tlb%/*}"
    for entry in "$root"/* "$root"/.ci; do
        case "${entry##*/}" in build|out) continue ;; esac
        [ -f "$entry/CMakeCache.txt" ] && continue
        rm -rf "${stage:?}/${entry##*/}"
        cp -al "$entry" "$stage/" 2>/dev/null || cp -a "$entry" "$stage/"
    done
    cp -al "$tree/bin" "$stage/$rel/" 2>/dev/null || cp -a "$tree/bin" "$stage/$rel/"
    cp "$root/$tlb" "$stage/$tlb"
    mkdir -p "$stage/.guest" && echo "$rel" >"$stage/.guest/tree"
    # The guest has no compiler: it preloads the host's build of the display lock.
    if [ -f "$root/.deps/x11-display-lock/built" ]; then
        rm -rf "$stage/.deps" && mkdir -p "$stage/.deps"
        cp -a "$root/.deps/x11-display-lock" "$stage/.deps/"
    fi
    local mb; mb=$(( $(du -sm "$stage" | cut -f1) + 512 ))
    mkfs.ext4 -q -F -d "$stage" -L job "$work/job.img" "${mb}M" >/dev/null
}

# guest_run_job IMAGE_DIR ROOT WORK LIMIT_S SCRIPT
# Boots the guest with the job disk WORK/job.img mounted at ROOT, runs
# SCRIPT (a path under ROOT) there, and copies the job's .guest/out back
# into WORK/out. The image itself is never written: its changes go to a
# temporary overlay that QEMU drops.
guest_run_job() {
    local image="$1" root="$2" work="$3" limit="$4" script="$5" rc=0
    case "$root" in *[[:space:]]*) guest_log "the clone's path must have no spaces: $root"; return 1 ;; esac
    touch "$image"   # marks the image as in use, so no build of another key deletes it
    guest_boot "$image" "$limit" "noxd_mount=$root noxd_run=$script" \
        -drive "file=$image/disk.img,format=raw,if=virtio,snapshot=on" \
        -drive "file=$work/job.img,format=raw,if=virtio" || rc=$?
    [ $rc = 124 ] && guest_log "the guest was stopped after $limit s"
    rm -rf "$work/out"
    # Replays the journal, should the guest not have unmounted the disk.
    e2fsck -fy "$work/job.img" >/dev/null 2>&1 || true
    debugfs -R "rdump /.guest/out $work" "$work/job.img" >/dev/null 2>&1 || true
    [ -d "$work/out" ] || { guest_log "the guest wrote no results"; return 1; }
    return $rc
}
