#!/usr/bin/env bash
# Runs the README's two commands in a pristine Debian 12 root, the way a new
# user on a fresh machine would: a bare "minbase" bookworm made by debootstrap
# from this machine's own apt sources, a fresh clone of the current commit in
# it, then `bash tools/test.sh` and `bash tools/run.sh` as root inside. Tells
# which step of the test command failed, and removes the root again.
#
# The bare root is kept as a tarball between runs (FRESH_CACHE, default
# /var/cache/parvolin-fresh), so only the first run downloads it.
# Everything is bounded: FRESH_MINUTES (default 80) for the whole check.
#
# Usage: tools/fresh-check.sh            (as root; needs debootstrap, or installs it)
#        FRESH_KEEP=1 tools/fresh-check.sh   keeps the root for a look afterwards
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

[[ $(id -u) -eq 0 ]] || { echo "fresh-check: must run as root (debootstrap, chroot, mounts)" >&2; exit 2; }

cache=${FRESH_CACHE:-/var/cache/parvolin-fresh}
minutes=${FRESH_MINUTES:-80}
suite=bookworm
tarball=$cache/$suite-minbase.tar.gz
commit=$(git rev-parse HEAD)
[[ -z $(git status --porcelain --untracked-files=no) ]] ||
    echo "fresh-check: note: uncommitted changes are not checked, only commit $commit"

# The first Debian mirror this machine's apt uses (deb822 or one-line form).
mirror=$(sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\/debian\)[[:space:]]*$/\1/p' \
             /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
if [[ -z $mirror ]]; then
    mirror=$(sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\/debian\)[[:space:]]\+.*/\2/p' \
                 /etc/apt/sources.list 2>/dev/null | head -n 1)
fi
mirror=${mirror:-http://deb.debian.org/debian}

if ! command -v debootstrap >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
fi

work=$(mktemp -d /var/tmp/parvolin-fresh.XXXXXX)
root=$work/root
log=$work/check.log
mounted=()

cleanup() {
    local status=$?
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -R "${mounted[i]}" 2>/dev/null || umount -R -l "${mounted[i]}" 2>/dev/null || true
    done
    if [[ ${FRESH_KEEP:-0} == 1 ]]; then
        echo "fresh-check: root kept in $root (log $log)"
    else
        # Never remove through a mount that is still there.
        if findmnt -rn -o TARGET | grep -q "^$root"; then
            echo "fresh-check: something is still mounted under $root; left in place" >&2
        else
            rm -rf "$work"
        fi
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mount_in() { # type-or-rbind source target
    mkdir -p "$root$3"
    if [[ $1 == rbind ]]; then
        mount --rbind "$2" "$root$3"
        mount --make-rslave "$root$3"
    else
        mount -t "$1" "$2" "$root$3"
    fi
    mounted+=("$root$3")
}

echo "== fresh-check: pristine Debian 12 ($suite, minbase) from $mirror"
mkdir -p "$root"
if [[ -f $tarball ]]; then
    tar -xzf "$tarball" -C "$root"
else
    mkdir -p "$cache"
    timeout 30m debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
        { tail -n 20 "$work/debootstrap.log"; echo "fresh-check: FAILED: debootstrap" >&2; exit 1; }
    tar -czf "$tarball.part" -C "$root" . && mv "$tarball.part" "$tarball"
fi

# The same package sources as this machine (updates and security included),
# so the root sees what a freshly installed and updated system sees.
if compgen -G "/etc/apt/sources.list.d/*.sources" >/dev/null; then
    rm -f "$root/etc/apt/sources.list"
    for file in /etc/apt/sources.list.d/*.sources; do
        grep -q '/debian' "$file" && cp "$file" "$root/etc/apt/sources.list.d/"
    done
elif [[ -f /etc/apt/sources.list ]]; then
    grep -E '^deb .*/debian' /etc/apt/sources.list >"$root/etc/apt/sources.list"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
# Services that packages install must not start inside the root: they would
# share this machine's network (a second CUPS on port 631, say).
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

mount_in proc proc /proc
mount_in sysfs sys /sys
mount_in rbind /dev /dev

git clone -q --no-local "$repo" "$root/root/parvolin"
git -C "$root/root/parvolin" checkout -q "$commit"

in_root() {
    timeout --kill-after=30s "${minutes}m" chroot "$root" /usr/bin/env -i \
        HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        LANG=C.UTF-8 TERM=dumb CI=true bash -c "cd /root/parvolin && $1" </dev/null
}

# FRESH_COMMAND runs something else in place of the test command, to look
# into one failing step without the whole run.
command=${FRESH_COMMAND:-bash tools/test.sh}
echo "== fresh-check: $command (log: $log)"
start=$SECONDS
if ! in_root "$command" >"$log" 2>&1; then
    step=$(grep '^== ' "$log" | tail -n 1 || true)
    tail -n 40 "$log"
    echo "fresh-check: FAILED: the test command, in step \"${step:-before the first step}\" (after $((SECONDS - start)) s)" >&2
    exit 1
fi
tail -n 3 "$log"
echo "fresh-check: the test command passed in $((SECONDS - start)) s"
[[ -z ${FRESH_COMMAND:-} ]] || exit 0

echo "== fresh-check: bash tools/run.sh (no display)"
if ! in_root "bash tools/run.sh" >"$work/run.log" 2>&1; then
    tail -n 20 "$work/run.log"
    echo "fresh-check: FAILED: the run command" >&2
    exit 1
fi
tail -n 12 "$work/run.log"
echo "fresh-check: PASSED: both commands work on a pristine Debian 12"
