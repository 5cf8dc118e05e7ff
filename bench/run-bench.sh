#!/usr/bin/env bash
# The benchmark (make bench): builds its programs and package variants, then
# drives setup under wine64 in the project's Wine session and prints the
# figures, their ratios and the targets.
#   bench/run-bench.sh [RUNS]     (default 15 runs of everything)
# Timings are only as quiet as the machine: run it with nothing else busy.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-15}
x64=$here/build/x86_64
i686=$here/build/i686
bench=$x64/bench
cabinet=$x64/package_content/ztl.arm.CAB
big_cabinet=$bench/big_content/ztl.arm.CAB
started=$(date +%s%N)

log=$here/build/bench-build.log
if ! { cmake --build "$x64" --target bench_programs -j2 && cmake --build "$i686" --target bench_layouts -j2; } >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    exit 1
fi

echo "Setup benchmark: $(/usr/lib/wine/wine64 --version), the x86_64 build of the program, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Image layouts: shipped = the linker's file alignment 0x200, then the resource section alone moved"
echo "to a page boundary in the file (scripts/page_align_resources.py); linker layout = every section"
echo "where the linker put it; file align 4096 = linked with -Wl,--file-alignment,4096;"
echo "empty cabinet = shipped with a 0-byte cabinet"
echo
# Raised priority, where allowed, keeps other work on the machine from
# landing in the middle of a timed step.
nice=()
nice -n -10 true 2>/dev/null && nice=(nice -n -10)
"${nice[@]}" "$here/scripts/wine-session.sh" --own-display /usr/lib/wine/wine64 "$bench/setup_bench.exe" --runs "$runs" \
    --marker "$bench/CEAPPMGR.exe" --empty "$bench/bench_empty_dialog.exe" \
    --package shipped "9 MB, shipped" "$x64/setup.exe" "$cabinet" \
    --package big "90 MB, shipped" "$bench/big/setup.exe" "$big_cabinet" \
    --package other "9 MB, linker layout" "$bench/linker/setup.exe" "$cabinet" \
    --package other "90 MB, linker layout" "$bench/big_linker/setup.exe" "$big_cabinet" \
    --package fixed "empty cabinet" "$bench/empty_cabinet/setup.exe" "$bench/empty_content/ztl.arm.CAB"
echo
/usr/bin/python3 "$here/bench/image_layout.py" \
    "shipped" "$i686/setup.exe" \
    "linker layout" "$i686/bench/linker/setup.exe" \
    "file align 4096" "$i686/bench/aligned/setup.exe"

elapsed=$(( ($(date +%s%N) - started) / 1000000 ))
printf '\nBenchmark run time: %d.%01d s, the build of its variants included\n' $((elapsed / 1000)) $((elapsed % 1000 / 100))
