# Sourced by the scripts that run Windows programs under Wine.
# Sets LANG, WINEDEBUG, WINEARCH and WINEPREFIX and makes sure an X display
# exists: $DISPLAY when set, otherwise an Xvfb server of our own.
#
#   JOT_WINEPREFIX  prefix to use (default: build/win32/wineprefix)
#   JOT_FRESH_PREFIX=1  delete and recreate the prefix first

# Sourced from an interactive bash, $0 is the shell, not this file: the
# prefix would land in the folder above the worktree and be shared with
# other worktrees, whose running copies then look like a second instance.
JOT_ROOT=${JOT_ROOT:-$(cd "$(dirname "${BASH_SOURCE:-$0}")/.." && pwd)}
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
export WINEDEBUG=-all
export WINEARCH=win32
# No Mono or Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINEPREFIX=${JOT_WINEPREFIX:-$JOT_ROOT/build/win32/wineprefix}

jot_start_xvfb() {
    # Pick a display number nobody uses.
    n=91
    while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
    Xvfb :$n -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    JOT_XVFB_PID=$!
    i=0
    while [ ! -e /tmp/.X11-unix/X$n ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    export DISPLAY=:$n
}

# JOT_OWN_XVFB is the Xvfb this shell started (and must stop); a display
# inherited from the caller is left alone.
JOT_OWN_XVFB=
if [ -z "${DISPLAY:-}" ]; then
    jot_start_xvfb
    JOT_OWN_XVFB=$JOT_XVFB_PID
fi

if [ "${JOT_FRESH_PREFIX:-0}" = 1 ]; then
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # Small Chinese text stays readable with the bitmap-hinted WenQuanYi
    # face; window captions show on a bare X server without a window manager.
    # regedit reads version-5 files as UTF-16 (a REGEDIT4 file would be
    # read in the ANSI code page and garble the Chinese face name).
    { printf '\377\376'; iconv -f UTF-8 -t UTF-16LE <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"宋体"="WenQuanYi Zen Hei Sharp"
"SimSun"="WenQuanYi Zen Hei Sharp"
"Tahoma"="WenQuanYi Zen Hei Sharp"
"MS Shell Dlg"="WenQuanYi Zen Hei Sharp"
"MS Shell Dlg 2"="WenQuanYi Zen Hei Sharp"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"
REG
    } > "$WINEPREFIX/jotstack-fonts.reg"
    wine regedit "$WINEPREFIX/jotstack-fonts.reg" >/dev/null 2>&1 || true
    wineserver -w
fi
