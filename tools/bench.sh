#!/bin/sh
# make bench: builds Tessaro, the bare Qt reference and the benchmarks in
# BENCH_BUILD (default build-bench, Release), then measures side by side in one
# run and prints each figure with its reference and the ratio:
#   start-up      process start to the main window mapped, on Xvfb, against a bare
#                 QMainWindow program (goal: at most 1.15 times);
#   peak memory   VmHWM once the window is up, against the same program
#                 (goal: at most 10 MB more);
#   import        a 32,767-line request (about 1 MB) against one read() of its
#                 bytes (goal: at most 3 times);
#   commit        result file, rename and delete of the request against cp plus
#                 sync of the same bytes (goal: at most 1.5 times).
#   under Wine    with WIN_BUILD and WIN_ZIP (make windows done): start-up of the
#                 packed tessaro.exe against bare_window.exe --frame (Tessaro's
#                 size, menu and status bar), same toolchain, same Wine (goal: at
#                 most 1.15 times).
# Figures only: nothing here fails because a goal is missed.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD:-$root/build-bench}
runs=${BENCH_RUNS:-15}
jobs=${JOBS:-2}

cmake -S "$root" -B "$build" -DTESSARO_BENCH=ON -DTESSARO_BUILD_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$jobs" --target tessaro bare_window startup_probe core_bench >/dev/null

. "$root/tests/e2e/settings_ini.sh"

work=$(mktemp -d /var/tmp/tessaro-bench.XXXXXX)
xvfb_pid=
wine_up=
cleanup() {
    [ -n "$wine_up" ] && wineserver -k 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

# Both programs run from a directory of their own, as installed.
mkdir -p "$work/tessaro" "$work/bare" "$work/inbox" "$work/outbox" "$work/files"
cp "$build/src/tessaro" "$work/tessaro/"
cp "$build/bench/bare_window" "$work/bare/"
write_settings_ini "$work/tessaro/Settings.ini" CR '' 0 0 "$work/inbox/anfrage.gdt" "$work/outbox"
# A typical request: record type, patient number and names, birth date.
printf '01380006302\r\n0143000471101531015Muster\r\n0133102Erika\r\n017310301011970\r\n' \
    >"$work/inbox/anfrage.gdt"

# A display of our own, so that nothing else draws while we measure.
display=
for n in 91 92 93 94 95 96 97 98 99; do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
[ -n "$display" ] || { echo "bench: no free X display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
i=0
until xdpyinfo >/dev/null 2>&1; do
    i=$((i + 1))
    [ $i -lt 100 ] || { echo "bench: Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done

probe="$build/bench/startup_probe"
# One start of each first, so that both find their libraries in the page cache.
"$probe" "Velt - Tessaro" 300 "$work/tessaro/tessaro" >/dev/null
"$probe" "Bare QMainWindow" 300 "$work/bare/bare_window" >/dev/null
: >"$work/tessaro.txt"
: >"$work/bare.txt"
: >"$work/text.txt"
n=0
while [ $n -lt "$runs" ]; do
    # Alternating, so that a slow moment of the machine hits all alike.
    "$probe" "Velt - Tessaro" 300 "$work/tessaro/tessaro" >>"$work/tessaro.txt"
    "$probe" "Bare QMainWindow" 300 "$work/bare/bare_window" >>"$work/bare.txt"
    "$probe" "Bare QMainWindow" 300 "$work/bare/bare_window" --text >>"$work/text.txt"
    n=$((n + 1))
done

median() { # column file
    cut -d' ' -f"$1" "$2" | sort -n | awk '{ v[NR] = $1 } END {
        if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
t_ms=$(median 1 "$work/tessaro.txt")
b_ms=$(median 1 "$work/bare.txt")
t_kb=$(median 2 "$work/tessaro.txt")
b_kb=$(median 2 "$work/bare.txt")
t_cpu=$(median 3 "$work/tessaro.txt")
b_cpu=$(median 3 "$work/bare.txt")
x_ms=$(median 1 "$work/text.txt")
x_kb=$(median 2 "$work/text.txt")
x_cpu=$(median 3 "$work/text.txt")

# In-process parts: medians of repeated runs, in microseconds.
BENCH_DIR="$work/files" "$build/bench/core_bench" --benchmark_repetitions=7 \
    --benchmark_min_time=0.2 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null \
    >"$work/core.csv"
us() { grep "^\"$1_median\"" "$work/core.csv" | cut -d, -f3; }
import=$(us BM_Import/0)
read1=$(us BM_ReadOnce/0)
importcold=$(us BM_Import/1)
readcold=$(us BM_ReadOnce/1)
commit=$(us BM_Commit)
cpsync=$(us BM_CpSync)
copyfsync=$(us BM_CopyFsync)

echo
echo "Tessaro benchmarks (medians; start-up of $runs alternating runs on Xvfb)"
awk -v t="$t_ms" -v b="$b_ms" -v tk="$t_kb" -v bk="$b_kb" -v im="$import" -v rd="$read1" \
    -v tc="$t_cpu" -v bc="$b_cpu" -v x="$x_ms" -v xk="$x_kb" -v xc="$x_cpu" \
    -v ic="$importcold" -v rc="$readcold" \
    -v co="$commit" -v cs="$cpsync" -v cf="$copyfsync" 'BEGIN {
    printf "  %-44s %10s %10s %8s  %s\n", "", "Tessaro", "reference", "ratio", "goal"
    printf "  %-44s %8.1f ms %7.1f ms %7.2fx  <= 1.15x\n", "start-up to the window mapped", t, b, t / b
    printf "  %-44s %8.1f ms %7.1f ms %7.2fx  (less moved by other load)\n", "processor time of that start-up", tc, bc, tc / bc
    printf "  %-44s %7.1f MB %7.1f MB %+6.1f MB  <= +10 MB\n", "peak memory (VmHWM)", tk / 1024, bk / 1024, (tk - bk) / 1024
    printf "  %-44s %8.1f ms %7.1f ms %7.2fx  (bare window with one label)\n", "  start-up against a window with text", t, x, t / x
    printf "  %-44s %8.1f ms %7.1f ms %7.2fx\n", "  processor time against it", tc, xc, tc / xc
    printf "  %-44s %7.1f MB %7.1f MB %+6.1f MB\n", "  peak memory against it", tk / 1024, xk / 1024, (tk - xk) / 1024
    printf "  %-44s %8.0f us %7.0f us %7.2fx  <= 3x\n", "import of 32,767 lines vs one read(), cached", im, rd, im / rd
    printf "  %-44s %8.0f us %7.0f us %7.2fx  <= 3x\n", "the same, file read from the disk", ic, rc, ic / rc
    printf "  %-44s %8.0f us %7.0f us %7.2fx  <= 1.5x\n", "commit vs cp + sync (commands)", co, cs, co / cs
    printf "  %-44s %8.0f us %7.0f us %7.2fx  (same work in-process)\n", "commit vs copy + fsync (in-process)", co, cf, co / cf
}'

# --- under Wine -------------------------------------------------------------------
if [ -z "${WIN_BUILD:-}" ] || [ -z "${WIN_ZIP:-}" ] || [ ! -f "${WIN_ZIP:-/nonexistent}" ]; then
    echo "  (under Wine: skipped, no Windows build; make windows first)"
    exit 0
fi
cmake -S "$root" -B "$WIN_BUILD" -DTESSARO_BENCH=ON >/dev/null
cmake --build "$WIN_BUILD" -j "$jobs" --target bare_window >/dev/null
mkdir -p "$work/win"
(cd "$work/win" && unzip -q "$WIN_ZIP")
wtessaro=$work/win/tessaro-win64
wbare=$work/win/bare
# The bare program beside the same DLLs and plugins, as Tessaro has them.
cp -r "$wtessaro" "$wbare"
rm -f "$wbare/tessaro.exe" "$wbare/Settings.ini" "$wbare/Bodypart.dat"
cp "$WIN_BUILD/bench/bare_window.exe" "$wbare/"
zpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }
write_settings_ini "$wtessaro/Settings.ini" CR '' 0 0 "$(zpath "$work/inbox/anfrage.gdt")" \
    "$(zpath "$work/outbox")"

export WINEPREFIX=${WINEPREFIX:-$(cd "$WIN_BUILD" && pwd)/wine} WINEDEBUG=-all
[ -f "$WINEPREFIX/system.reg" ] || { DISPLAY= wineboot -i >/dev/null 2>&1; wineserver -w; }
# One wineserver for all runs, started inside this display, so that no run
# pays for starting Wine itself.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wineserver -p
wine_up=1
wine=$(command -v wine)
wruns=${BENCH_WINE_RUNS:-9}
"$probe" "Velt - Tessaro" 300 "$wine" "$wtessaro/tessaro.exe" >/dev/null
"$probe" "Bare QMainWindow" 300 "$wine" "$wbare/bare_window.exe" --frame >/dev/null
: >"$work/wtessaro.txt"
: >"$work/wbare.txt"
n=0
while [ $n -lt "$wruns" ]; do
    "$probe" "Velt - Tessaro" 300 "$wine" "$wtessaro/tessaro.exe" >>"$work/wtessaro.txt"
    "$probe" "Bare QMainWindow" 300 "$wine" "$wbare/bare_window.exe" --frame >>"$work/wbare.txt"
    n=$((n + 1))
done
wt=$(median 1 "$work/wtessaro.txt")
wb=$(median 1 "$work/wbare.txt")
echo
echo "Under Wine ($(wine --version 2>/dev/null | head -n 1)), medians of $wruns alternating runs"
awk -v t="$wt" -v b="$wb" 'BEGIN {
    printf "  %-44s %8.1f ms %7.1f ms %7.2fx  <= 1.15x\n", "start-up to the window mapped", t, b, t / b
}'
