#!/usr/bin/env bash
# The search side by side with the floor (the fastest plain read of the file on two
# threads: each reads its half with pread, 1 MiB a read, into an aligned buffer, and does
# nothing else; printed beside a read as the scan reads) and GNU grep on the same
# page-cached files, for the rare pattern, dense hits and the worst cases of the hit list:
#   1. 1 GiB of random bytes, a rare 4-byte pattern: the floor,
#      `LC_ALL=C grep -c -a -F`, the command-line scan, and the search in the window
#      (offscreen, from the click on BtnSuchen to the end);
#   2. 1 GiB of text lines of 100 letters (10.6 million hits of 0a): the floor, the scan
#      and the window, in wall and processor time, with the memory the search adds against its bound
#      min(4 B x hits, size / 8) + 16 MiB and what stays after "Neue Suche";
#   3. 1 GiB of zero bytes, patterns 00 (2^30 hits), 0000 (2^29 hits) and 00000000
#      (2^28 hits): the floor, the scan, the scan with the hit list filled and shown, and
#      the search in the window;
#   4. 20 MB of CR LF pairs (10 million hits of 0d0a): `LC_ALL=C grep -o -b -a -F`
#      printing every offset into wc -l, the scan, the list and the window.
# Each section ends with a line of the program's times beside the floor, as ratios; the
# last lines put the search in the window beside the floor of the same run for every case,
# with what it added to memory at its peak against its bound, and again in processor time
# (the least of three runs, the floor's as well). The load average is printed
# at the start and the end: on a busy machine the ratios say little.
# Each command runs five times; the best wall time counts (for the window and the list:
# the best time they measured themselves, from the click or the start of the scan to the
# list shown). Processor times are printed as well: on a busy machine they say more. For each scan the hit count and what it added to
# the resident memory at its peak (MiB and bytes a hit) and what it leaves resident (after
# minus before, the hits still held) are printed. The files live in a
# temporary folder under /tmp and are deleted at the end.
#
#   bench/compare_search.sh [BUILD_DIR]      (default: build)
set -euo pipefail
export QT_QPA_PLATFORM=offscreen

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build}
cmake --build "$build" --target ZirpelScan ZirpelScanList ZirpelScanWindow >/dev/null
cli=$build/bench/ZirpelScan
list_cli=$build/bench/ZirpelScanList
window_cli=$build/bench/ZirpelScanWindow

work=$(mktemp -d /tmp/zirpel-compare.XXXXXX)
trap 'rm -rf "$work"' EXIT
random=$work/random-1g.bin
zeros=$work/zeros-1g.bin
lines=$work/lines-1g.txt
crlf=$work/crlf-20m.txt

echo "Load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Making the files in $work ..."
head -c $((1 << 30)) /dev/urandom >"$random"
head -c $((1 << 30)) /dev/zero >"$zeros"
{ yes abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuv || true; } |
    head -c $((1 << 30)) >"$lines"
# No 0A (grep splits lines there) and no 00 (a shell word cannot hold it) in the pattern.
rare_hex=5a17c3e9
rare_bytes=$(printf '\x5a\x17\xc3\xe9')
{ yes $'\r' || true; } | head -c 20000000 >"$crlf" # 10 000 000 pairs "\r\n"

# best_of CMD...: runs CMD five times, prints its output once to stderr, echoes the best
# wall time in seconds.
best_of() {
    local best="" out t0 t1 t
    for _ in 1 2 3 4 5; do
        cat "$random" "$zeros" "$lines" "$crlf" >/dev/null # keep them in the page cache
        t0=$(date +%s%N)
        out=$("$@" 2>/dev/null)
        t1=$(date +%s%N)
        t=$(((t1 - t0) / 1000))
        if [[ -z $best || $t -lt $best ]]; then best=$t; fi
    done
    echo "    output: $out" >&2
    awk -v us="$best" 'BEGIN { printf "%.3f", us / 1e6 }'
}

# best_inner CMD...: runs CMD five times; echoes the best of the times it measured itself
# (the window from the click, the list from the start of the scan: without the start-up
# of the toolkit).
best_inner() {
    local best="" out t
    for _ in 1 2 3 4 5; do
        out=$("$@" 2>/dev/null)
        t=$(sed -n 's/.* in \([0-9.]*\) s$/\1/p' <<<"$out")
        if [[ -z $best ]] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best=$t
        fi
    done
    echo "    output: $out" >&2
    echo "$best"
}

# memory CMD...: the peak memory, resident memory and processor time lines of one run;
# the peak (MiB) and the processor time (s) of its first search are kept in $peak and $cpu.
memory() {
    local out
    out=$("$@" 2>&1 >/dev/null | grep -E '^(peak|resident|processor)' || true)
    sed 's/^/    /' <<<"$out"
    peak=$(sed -n '1s/^peak memory added: \([0-9.]*\) MiB.*/\1/p' <<<"$out")
    cpu=$(sed -n 's/^processor time: \([0-9.]*\) s.*/\1/p' <<<"$out" | head -1)
}
# cpu_of CMD...: the least processor time of three runs (both threads), in $cpu.
cpu_of() {
    local best="" c
    for _ in 1 2 3; do
        memory "$@" >/dev/null
        c=$cpu
        if [[ -z $best ]] || awk -v a="$c" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$c; fi
    done
    cpu=$best
}
peak=""
cpu=""

# bound HITS FILE: what a search may add to memory, min(4 B x hits, size / 8) + 16 MiB.
bound() {
    awk -v h="$1" -v s="$(stat -c %s "$2")" \
        'BEGIN { b = 4 * h; if (s / 8 < b) b = s / 8; printf "%.1f", b / 1048576 + 16 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

grep_count() { LC_ALL=C grep -c -a -F -- "$rare_bytes" "$random" || true; }
# grep cannot match across a line end: it finds the CR of every CR LF pair, the same
# offsets. Its output goes on into wc: writing to /dev/null makes GNU grep stop early.
grep_offsets() { LC_ALL=C grep -o -b -a -F -- $'\r' "$crlf" | wc -l; }

echo
echo "1 GiB of random bytes, pattern $rare_hex"
echo "  two threads reading their halves (floor):"
t_read=$(best_of "$cli" floor "$random")
cpu_of "$cli" floor "$random"
cpu_read=$cpu
echo "  two threads reading as the scan does:"
t_turns=$(best_of "$cli" read "$random")
printf '  floor %ss, read as the scan does %ss\n' "$t_read" "$t_turns"
echo "  grep -c -a -F:"
t_grep=$(best_of grep_count)
echo "  Zirpel scan:"
t_scan=$(best_of "$cli" scan "$random" "$rare_hex")
memory "$cli" scan "$random" "$rare_hex"
echo "  Zirpel search in the window, from the click:"
t_win=$(best_inner "$window_cli" "$random" "$rare_hex")
echo "  the same search three times in a row (what each leaves resident: under 16 MiB):"
memory "$window_cli" "$random" "$rare_hex" "$rare_hex" "$rare_hex"
peak_rare=$peak
cpu_of "$window_cli" "$random" "$rare_hex"
cpu_rare=$cpu
bound_rare=$(bound "$("$cli" scan "$random" "$rare_hex" 2>/dev/null)" "$random")
printf '  times: floor %ss, grep %ss, scan %ss, window %ss\n' "$t_read" "$t_grep" "$t_scan" "$t_win"
printf '  scan / grep = %s, window / grep = %s (target at most 0.50)\n' \
    "$(ratio "$t_scan" "$t_grep")" "$(ratio "$t_win" "$t_grep")"
printf '  rare: scan / floor = %s, window / floor = %s\n' "$(ratio "$t_scan" "$t_read")" \
    "$(ratio "$t_win" "$t_read")"

echo
echo "1 GiB of text lines, pattern 0a"
echo "  two threads reading their halves (floor):"
t_readl=$(best_of "$cli" floor "$lines")
cpu_of "$cli" floor "$lines"
cpu_readl=$cpu
echo "  two threads reading as the scan does:"
t_turnsl=$(best_of "$cli" read "$lines")
printf '  floor %ss, read as the scan does %ss\n' "$t_readl" "$t_turnsl"
echo "  Zirpel scan:"
t_scanl=$(best_of "$cli" scan "$lines" 0a)
echo "  Zirpel search in the window, from the click, twice with \"Neue Suche\" after each:"
t_winl=$(best_inner "$window_cli" "$lines" 0a)
memory "$window_cli" "$lines" 0a 0a
cpu_of "$window_cli" "$lines" 0a
cpu_lines=$cpu
"$window_cli" "$lines" 0a 0a 2>&1 >/dev/null | grep -E '^resident after' | sed 's/^/    /' || true
echo "    bound: $(bound "$("$cli" scan "$lines" 0a 2>/dev/null)" "$lines") MiB"
printf '  dense: scan / floor = %s, window / floor = %s (floor %ss, scan %ss, window %ss)\n' \
    "$(ratio "$t_scanl" "$t_readl")" "$(ratio "$t_winl" "$t_readl")" "$t_readl" "$t_scanl" "$t_winl"

echo
echo "1 GiB of zero bytes"
echo "  two threads reading their halves (floor):"
t_read0=$(best_of "$cli" floor "$zeros")
cpu_of "$cli" floor "$zeros"
cpu_read0=$cpu
echo "  two threads reading as the scan does:"
t_turns0=$(best_of "$cli" read "$zeros")
printf '  floor %ss, read as the scan does %ss\n' "$t_read0" "$t_turns0"
declare -A win0 peak0 bound0 cpu0
for hex in 00 0000 00000000; do
    echo "  pattern $hex, Zirpel scan:"
    t_scan0=$(best_of "$cli" scan "$zeros" "$hex")
    memory "$cli" scan "$zeros" "$hex"
    echo "  pattern $hex, Zirpel scan, hit list filled and shown:"
    t_list0=$(best_inner "$list_cli" "$zeros" "$hex")
    memory "$list_cli" "$zeros" "$hex"
    echo "  pattern $hex, Zirpel search in the window, from the click:"
    t_win0=$(best_inner "$window_cli" "$zeros" "$hex")
    win0[$hex]=$t_win0
    memory "$window_cli" "$zeros" "$hex"
    peak0[$hex]=$peak
    cpu_of "$window_cli" "$zeros" "$hex"
    cpu0[$hex]=$cpu
    bound0[$hex]=$(bound "$("$cli" scan "$zeros" "$hex" 2>/dev/null)" "$zeros")
    printf '  times: floor %ss, scan %ss, list %ss, window %ss\n' "$t_read0" "$t_scan0" \
        "$t_list0" "$t_win0"
    printf '  worst case %s: scan / floor = %s, list / floor = %s, window / floor = %s (target at most 1.50)\n' \
        "$hex" "$(ratio "$t_scan0" "$t_read0")" "$(ratio "$t_list0" "$t_read0")" "$(ratio "$t_win0" "$t_read0")"
done

echo
echo "20 MB of CR LF pairs, pattern 0d0a (10 000 000 hits)"
echo "  two threads reading their halves (floor):"
t_read2=$(best_of "$cli" floor "$crlf")
echo "  grep -o -b -a -F | wc -l:"
t_grep2=$(best_of grep_offsets)
echo "  Zirpel scan only:"
t_scan2=$(best_of "$cli" scan "$crlf" 0d0a)
echo "  Zirpel scan, hit list filled and shown:"
t_list=$(best_inner "$list_cli" "$crlf" 0d0a)
memory "$list_cli" "$crlf" 0d0a
echo "  Zirpel search in the window, from the click:"
t_win2=$(best_inner "$window_cli" "$crlf" 0d0a)
memory "$window_cli" "$crlf" 0d0a
printf '  times: floor %ss, grep %ss, scan %ss, list %ss, window %ss\n' "$t_read2" "$t_grep2" \
    "$t_scan2" "$t_list" "$t_win2"
printf '  list / grep = %s, window / grep = %s (target at most 1.00)\n' \
    "$(ratio "$t_list" "$t_grep2")" "$(ratio "$t_win2" "$t_grep2")"

echo
echo "The search in the window beside the floor (the same run), and what it added to memory"
echo "at its peak against its bound min(4 B x hits, size / 8) + 16 MiB:"
printf '  rare (%s):        floor %ss, window %ss, %s x (at most 1.30); peak %s MiB of %s\n' \
    "$rare_hex" "$t_read" "$t_win" "$(ratio "$t_win" "$t_read")" "$peak_rare" "$bound_rare"
printf '  dense (0a):             floor %ss, window %ss, %s x (at most 1.50)\n' "$t_readl" "$t_winl" \
    "$(ratio "$t_winl" "$t_readl")"
for hex in 00 0000 00000000; do
    printf '  zeros (%-8s):       floor %ss, window %ss, %s x (at most 1.50); peak %s MiB of %s\n' \
        "$hex" "$t_read0" "${win0[$hex]}" "$(ratio "${win0[$hex]}" "$t_read0")" "${peak0[$hex]}" \
        "${bound0[$hex]}"
done
echo "The same in processor time (both threads, the least of three runs; on a busy machine"
echo "the wall times above mostly measure the wait for a processor), each at most 1.60 x:"
printf '  rare (%s):        floor %ss, window %ss, %s x\n' "$rare_hex" "$cpu_read" "$cpu_rare" \
    "$(ratio "$cpu_rare" "$cpu_read")"
printf '  dense (0a):             floor %ss, window %ss, %s x\n' "$cpu_readl" "$cpu_lines" \
    "$(ratio "$cpu_lines" "$cpu_readl")"
for hex in 00 0000 00000000; do
    printf '  zeros (%-8s):       floor %ss, window %ss, %s x\n' "$hex" "$cpu_read0" "${cpu0[$hex]}" \
        "$(ratio "${cpu0[$hex]}" "$cpu_read0")"
done
echo "Load average: $(cut -d' ' -f1-3 /proc/loadavg)"
