# Sourced by the scripts that run Windows programs under Wine.
# Sets LANG, WINEDEBUG, WINEARCH and WINEPREFIX for one flavour of the
# program and makes sure an X display with a window manager exists:
# $DISPLAY when set, otherwise an Xvfb server and openbox of our own.
#
#   JOT_FLAVOUR     win32 or win64 (default: win32 where the machine runs
#                   32-bit code, otherwise win64)
#   JOT_WINEPREFIX  prefix to use (default: build/<flavour>/wineprefix)
#   JOT_FRESH_PREFIX=1  delete and recreate the prefix first
#   JOT_NO_32BIT=1  behave as on a machine that executes no 32-bit code
#   JOT_NO_WM=1     our own display without a window manager (Wine takes
#                   drops from older X programs only there)
#   JOT_SCREEN      size of our own display (default 1280x800)
#
# The shell that sources this calls jot_stop_display when it is done.

# Sourced from an interactive bash, $0 is the shell, not this file: the
# prefix would land in the folder above the worktree and be shared with
# other worktrees, whose running copies then look like a second instance.
JOT_ROOT=${JOT_ROOT:-$(cd "$(dirname "${BASH_SOURCE:-$0}")/.." && pwd)}
. "$JOT_ROOT/scripts/machine.sh"

JOT_FLAVOUR=${JOT_FLAVOUR:-$JOT_DEFAULT_FLAVOUR}
case "$JOT_FLAVOUR" in
    win32 | win64) ;;
    *) echo "wine-env.sh: unknown flavour '$JOT_FLAVOUR' (win32 or win64)" >&2; return 2 2>/dev/null || exit 2 ;;
esac
export JOT_FLAVOUR
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
export WINEDEBUG=-all
export WINEARCH=$JOT_FLAVOUR
# No Mono or Gecko installer prompts in a fresh prefix.
# No debugger on a crash either: winedbg would hold the test log open and the
# run would wait for a timeout; the crash ends the program at once instead.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winedbg.exe=d"
export WINEPREFIX=${JOT_WINEPREFIX:-$JOT_ROOT/build/$JOT_FLAVOUR/wineprefix}

# Debian's "wine" wrapper picks the 32-bit loader whenever wine32 is
# installed, even on a machine that cannot execute it. The 64-bit flavour
# runs on the 64-bit loader itself; "wine" on the PATH then names it, for
# these scripts and for the ones they call.
if [ "$JOT_FLAVOUR" = win64 ]; then
    export WINELOADER=/usr/lib/wine/wine64
    jot_winebin="$JOT_ROOT/build/win64/winebin"
    if [ ! -x "$jot_winebin/wine" ]; then
        mkdir -p "$jot_winebin"
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$jot_winebin/wine"
        chmod +x "$jot_winebin/wine"
    fi
    case ":$PATH:" in
        *":$jot_winebin:"*) ;;
        *) PATH="$jot_winebin:$PATH" ;;
    esac
    export PATH
else
    unset WINELOADER
    # A shell that tested the 64-bit flavour before keeps its "wine".
    PATH=$(printf '%s' "$PATH" | sed "s|$JOT_ROOT/build/win64/winebin:||g")
    export PATH
fi

jot_start_xvfb() {
    # Pick a display number nobody uses.
    n=91
    while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
    Xvfb :$n -screen 0 "${JOT_SCREEN:-1280x800}x24" -nolisten tcp >/dev/null 2>&1 &
    JOT_XVFB_PID=$!
    i=0
    while [ ! -e /tmp/.X11-unix/X$n ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    export DISPLAY=:$n
}

# A window manager on the test display: without one, Wine waits for answers
# that never come (every hide takes about 2 s) and topmost stacking and
# focus behave unlike a user's desktop.
jot_start_wm() {
    openbox --sm-disable >/dev/null 2>&1 &
    JOT_WM_PID=$!
    # openbox announces itself on the root window once it manages the screen.
    i=0
    while [ $i -lt 100 ]; do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
        i=$((i + 1))
    done
}

jot_stop_display() {
    [ -n "${JOT_OWN_WM:-}" ] && kill "$JOT_OWN_WM" 2>/dev/null || true
    [ -n "${JOT_OWN_XVFB:-}" ] && kill "$JOT_OWN_XVFB" 2>/dev/null || true
    JOT_OWN_WM=
    JOT_OWN_XVFB=
}

# JOT_OWN_XVFB and JOT_OWN_WM are what this shell started (and must stop),
# also when it sources this file again for another flavour; a display
# inherited from the caller is left alone.
JOT_OWN_XVFB=${JOT_OWN_XVFB:-}
JOT_OWN_WM=${JOT_OWN_WM:-}
if [ -z "${DISPLAY:-}" ]; then
    jot_start_xvfb
    JOT_OWN_XVFB=$JOT_XVFB_PID
    if [ "${JOT_NO_WM:-0}" != 1 ]; then
        jot_start_wm
        JOT_OWN_WM=$JOT_WM_PID
    fi
fi

if [ "${JOT_FRESH_PREFIX:-0}" = 1 ]; then
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # The Chinese faces the program and the dialogs ask for are WenQuanYi
    # Zen Hei: it measures as it draws. (Its "Sharp" twin draws the embedded
    # bitmaps of 12 and 16 pixels up to 7 pixels wider than GetTextExtent
    # says, so menu titles lose their last character: "文件(F".)
    # Wine draws the window captions itself, as Windows does.
    # regedit reads version-5 files as UTF-16 (a REGEDIT4 file would be
    # read in the ANSI code page and garble the Chinese face name).
    { printf '\377\376'; iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"宋体"="WenQuanYi Zen Hei"
"SimSun"="WenQuanYi Zen Hei"
"Tahoma"="WenQuanYi Zen Hei"
"MS Shell Dlg"="WenQuanYi Zen Hei"
"MS Shell Dlg 2"="WenQuanYi Zen Hei"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"
REG
    } > "$WINEPREFIX/jotstack-fonts.reg"
    wine regedit "$WINEPREFIX/jotstack-fonts.reg" >/dev/null 2>&1 || true
    # The caption buttons are glyphs of Wine's Marlett (Debian's fonts-wine),
    # which Debian's Wine 8 loads only from the prefix's Fonts folder;
    # without it they show as "0 1 r".
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    wineserver -w
fi
