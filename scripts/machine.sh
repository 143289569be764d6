# Sourced by the scripts: which Windows flavours this machine can run under
# Wine. Some x86-64 kernels execute no 32-bit code at all (no IA-32
# emulation, as in some virtual machines and sandboxes); there wine32 fails
# with "Exec format error" and only the 64-bit program can be tested.
#
# Finds out once, by running a tiny 32-bit x86 program, and exports
#   JOT_RUNS_32BIT   yes or no
#   JOT_FLAVOURS     the flavours to test here: "win32 win64" or "win64"
#   JOT_DEFAULT_FLAVOUR  the one a script runs unless told: win32 where it
#                    runs, otherwise win64
# JOT_NO_32BIT=1 makes any machine take the 64-bit-only path.

JOT_ROOT=${JOT_ROOT:-$(cd "$(dirname "${BASH_SOURCE:-$0}")/.." && pwd)}

jot_probe_32bit() {
    # A 118-byte static i386 Linux program: write(1, "32\n", 3); exit(0).
    # The shell runs a file the kernel refuses as a script, so the answer is
    # read from what it prints, not from its exit status alone.
    probe_dir="$JOT_ROOT/build"
    mkdir -p "$probe_dir"
    probe="$probe_dir/probe-i386"
    printf '\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\166\000\000\000\166\000\000\000\005\000\000\000\000\020\000\000\270\004\000\000\000\273\001\000\000\000\271\163\200\004\010\272\003\000\000\000\315\200\270\001\000\000\000\061\333\315\200\063\062\012' > "$probe"
    chmod +x "$probe"
    answer=$("$probe" 2>/dev/null) || true
    rm -f "$probe"
    [ "$answer" = 32 ]
}

if [ "${JOT_NO_32BIT:-0}" = 1 ]; then
    JOT_RUNS_32BIT=no
elif [ -z "${JOT_RUNS_32BIT:-}" ]; then
    if jot_probe_32bit; then
        JOT_RUNS_32BIT=yes
    else
        JOT_RUNS_32BIT=no
    fi
fi
export JOT_RUNS_32BIT
if [ "$JOT_RUNS_32BIT" = yes ]; then
    JOT_FLAVOURS="win32 win64"
    JOT_DEFAULT_FLAVOUR=win32
else
    JOT_FLAVOURS="win64"
    JOT_DEFAULT_FLAVOUR=win64
fi
export JOT_FLAVOURS JOT_DEFAULT_FLAVOUR
