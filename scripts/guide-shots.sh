#!/bin/sh
# Takes the user guide's screenshots of the real program under Wine and
# writes them to guide/images/ (PNG). Run it again after a change to the
# windows, menus or dialogs; a window that this build does not have (yet) is
# skipped with a note, and the guide keeps its older picture.
#
#   scripts/guide-shots.sh        (after cmake --build --preset win32, or win64)
#
# Uses a prefix of its own (build/guide-<flavour>/wineprefix) and its own X display.
#
# JOT_SHOT_DPI=144 (or 192 ...) takes the same pictures at that display scale
# (Wine's LogPixels in the prefix) into build/shots-<dpi>/ instead, for
# looking at the program on a high-DPI screen; the guide is left alone.
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"
. "$JOT_ROOT/scripts/machine.sh"
# JOT_FLAVOUR=win32 or win64 picks the program (default: win32 where it runs).
export JOT_FLAVOUR=${JOT_FLAVOUR:-$JOT_DEFAULT_FLAVOUR}
EXE=$JOT_ROOT/build/$JOT_FLAVOUR/Jotstack.exe
DRIVE=$JOT_ROOT/build/$JOT_FLAVOUR/tools/jotdrive.exe
DPI=${JOT_SHOT_DPI:-96}
if [ "$DPI" = 96 ]; then
    OUT=$JOT_ROOT/guide/images
    JOT_WINEPREFIX=$JOT_ROOT/build/guide-$JOT_FLAVOUR/wineprefix
else
    OUT=$JOT_ROOT/build/shots-$DPI
    JOT_WINEPREFIX=$JOT_ROOT/build/shots-$DPI-$JOT_FLAVOUR/wineprefix
fi
[ -f "$EXE" ] && [ -f "$DRIVE" ] || { echo "build the $JOT_FLAVOUR preset first" >&2; exit 1; }
mkdir -p "$OUT"

JOT_FRESH_PREFIX=1
unset DISPLAY   # always our own screen, of a known size
# A screen as much larger as the scale, so that the windows fit as at 100 %.
JOT_SCREEN=$((1280 * DPI / 96))x$((800 * DPI / 96))
. "$JOT_ROOT/scripts/wine-env.sh"
unset JOT_FRESH_PREFIX
if [ "$DPI" != 96 ]; then
    # Wine 8 takes the display scale from the user's LogPixels (a DWORD) when
    # its server starts.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w
fi

cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    jot_stop_display
}
trap cleanup EXIT

# The program in a folder of its own, with a notebook of sample pages.
APPDIR=$WINEPREFIX/drive_c/Jotstack
rm -rf "$APPDIR"
mkdir -p "$APPDIR"
cp "$EXE" "$APPDIR/Jotstack.exe"
python3 - "$APPDIR/Jotstack.txt" <<'PY'
import sys
sep = "\f\f\f\f\a\a\a\a\b\b\b\b"
pages = [
    ("日常", "周一 9:30 部门例会，带上季度报表\r\n给王老师回电话：130 0000 0000\r\n"
             "买菜：西红柿、鸡蛋、青菜\r\n\r\n读书笔记：\r\n  《平凡的世界》第二部，第 12 章\r\n"),
    ("工作", "项目计划\r\n1. 需求整理（周三前）\r\n2. 接口设计\r\n3. 测试用例\r\n"),
    ("网摘", "从浏览器拖进来的文字会变成纯文本，链接可以保留。\r\n"),
    ("密码提示", "不要把真正的密码写在这里。\r\n"),
]
text = "".join(sep + name + "\r\n" + body for name, body in pages)
with open(sys.argv[1], "wb") as f:
    f.write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
# The same window as at 100 %, in the pixels of this scale.
px() { echo $(($1 * DPI / 96)); }
printf '[Position]\r\nWindowPos=0,1,-1,-1,-1,-1,%d,%d,%d,%d\r\n' \
    "$(px 40)" "$(px 30)" "$(px 760)" "$(px 530)" > "$APPDIR/Jotstack.ini"

drive() { wine "$DRIVE" "$@" 2>/dev/null; }
shot_root() { import -window root -display "$DISPLAY" "$1"; }
# The desktop is black and empty: trimming keeps the windows and menus.
trim() { convert "$1" -trim +repage "$2"; rm -f "$1"; }
shot() {   # shot NAME: the whole visible picture, trimmed
    shot_root "$OUT/.raw.png"
    trim "$OUT/.raw.png" "$OUT/$1.png"
    echo "${OUT#$JOT_ROOT/}/$1.png"
}
# shot_of TITLE NAME: the area of the window with that title (a menu that
# hangs from the window's menu bar is inside it).
shot_of() {
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    if [ -z "$id" ]; then shot "$2"; return; fi
    eval "$(xdotool getwindowgeometry --shell "$id")"
    shot_root "$OUT/.raw.png"
    convert "$OUT/.raw.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$OUT/$2.png"
    rm -f "$OUT/.raw.png"
    echo "${OUT#$JOT_ROOT/}/$2.png"
}
close_all() {
    for t in "$@"; do drive close "$t" || true; done
    sleep 0.5
}

(cd "$APPDIR" && wine Jotstack.exe >/dev/null 2>&1 &)
i=0
until drive command 0 >/dev/null 2>&1 || [ $i -ge 60 ]; do sleep 0.5; i=$((i + 1)); done
sleep 2

# The tray icon and its menu, before the window is shown.
xdotool mousemove 60 40
drive traymenu; sleep 1
shot tray-menu
drive escape; sleep 0.5

drive command 32771; sleep 1.5     # 显示编辑窗口
MAIN="Jotstack - \\[日常\\]"
shot_of "$MAIN" main-window

drive menu t; sleep 1              # 工具
shot_of "$MAIN" tools-menu
drive escape; drive escape; sleep 0.5

drive menu v; sleep 1              # 查看
shot_of "$MAIN" view-menu
drive escape; drive escape; sleep 0.5

# Dialogs: command id, window title, picture name.
dialog() {
    drive command "$1"
    if drive wait "$2" 4000; then
        sleep 0.8
        shot_of "$2" "$3"
        close_all "$2"
    else
        echo "skipped $3: no window \"$2\" in this build" >&2
    fi
}
dialog 57664 "About Jotstack" about
dialog 32789 "窗口透明度" transparency
dialog 32792 "页签管理" page-manager
dialog 57636 "查找" find
dialog 57641 "替换" replace
dialog 32790 "万年历" calendar
dialog 32788 "IE拖拽" drag-settings
dialog 32856 "时钟选项" clock-options

# The desktop clock: tick "显示时钟" (control 1098) in its options and take
# the top right corner, where a fresh clock stands.
drive command 32856
if drive wait "时钟选项" 4000 && drive click "时钟选项" 1098 && drive ok "时钟选项"; then
    sleep 2.5
    shot_root "$OUT/.raw.png"
    width=$(identify -format %w "$OUT/.raw.png")
    convert "$OUT/.raw.png" -crop "$(px 220)x$(px 220)+$((width - $(px 230)))+$(px 80)" +repage -trim +repage \
        "$OUT/clock.png"
    rm -f "$OUT/.raw.png"
    echo "${OUT#$JOT_ROOT/}/clock.png"
else
    close_all "时钟选项"
fi
drive command 32772 || true        # 退出
sleep 1

[ "$DPI" = 96 ] || exit 0
# Pictures the guide keeps in "<!--shot NAME ... -->" comments appear as soon
# as this build could take them.
python3 - "$JOT_ROOT/guide" <<'PY'
import os, re, sys
guide = sys.argv[1]
path = os.path.join(guide, "Jotstack.htm")
html = open(path, encoding="utf-8").read()
def show(m):
    if os.path.isfile(os.path.join(guide, "images", m.group(1))):
        return m.group(2) + "\n"
    return m.group(0)
new = re.sub(r"<!--shot (\S+)\n(.*?)\n-->\n", show, html, flags=re.S)
if new != html:
    open(path, "w", encoding="utf-8").write(new)
    print("guide/Jotstack.htm: new pictures shown")
PY
