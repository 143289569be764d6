#!/bin/sh
# Installs what building and testing Jotstack needs on Debian 12 (run as root).
# Safe to run again: it only installs what is missing.
set -eu

JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
need=""
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

# Both flavours are built everywhere; Wine's 32-bit half only where this
# machine executes 32-bit code (JOT_NO_32BIT=1 leaves it out anyway).
. "$JOT_ROOT/scripts/machine.sh"
wine_pkgs="wine wine64"
if [ "$JOT_RUNS_32BIT" = yes ]; then
    wine_pkgs="$wine_pkgs wine32:i386"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
fi

for p in cmake make g++ git googletest libgtest-dev libbenchmark-dev \
         g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686 \
         g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 \
         $wine_pkgs fonts-wine xvfb xauth x11-utils xdotool openbox imagemagick locales fonts-wqy-zenhei \
         python3 python3-xlib libgumbo-dev clang; do
    have_pkg "$p" || need="$need $p"
done

if [ -n "$need" ]; then
    export DEBIAN_FRONTEND=noninteractive
    # A mirror caught mid-sync fails an index now and then; retry, then go on
    # with what was fetched.
    for i in 1 2 3; do
        apt-get update -qq && break
        sleep 5
    done || true
    # When the security suite's i386 index could not be fetched, amd64 and
    # i386 candidates of multi-arch libraries differ in version and wine32
    # cannot be installed; preferring the release suite for both resolves it.
    apt-get install -y -qq --no-install-recommends $need ||
        apt-get install -y -qq --no-install-recommends -t bookworm $need
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    if ! grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    fi
    locale-gen >/dev/null
fi
