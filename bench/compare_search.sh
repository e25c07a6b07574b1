#!/usr/bin/env bash
# The search side by side with GNU grep on the same page-cached files:
#   1. a 1 GiB file of random bytes and a rare 4-byte pattern: a plain fread loop (the
#      floor), `LC_ALL=C grep -c -a -F`, and the scan;
#   2. a 20 MB file of CR LF pairs (10 million hits of 0d0a): `LC_ALL=C grep -o -b -a -F`
#      printing every offset into wc -l, and the scan filling and showing the hit list.
# Each command runs five times; the best wall time counts. The files live in a temporary
# folder under /tmp and are deleted at the end.
#
#   bench/compare_search.sh [BUILD_DIR]      (default: build)
set -euo pipefail
export QT_QPA_PLATFORM=offscreen

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build}
cmake --build "$build" --target ZirpelScan ZirpelScanList >/dev/null
cli=$build/bench/ZirpelScan
list_cli=$build/bench/ZirpelScanList

work=$(mktemp -d /tmp/zirpel-compare.XXXXXX)
trap 'rm -rf "$work"' EXIT
random=$work/random-1g.bin
crlf=$work/crlf-20m.txt

echo "Making the files in $work ..."
head -c $((1 << 30)) /dev/urandom >"$random"
# No 0A (grep splits lines there) and no 00 (a shell word cannot hold it) in the pattern.
rare_hex=5a17c3e9
rare_bytes=$(printf '\x5a\x17\xc3\xe9')
{ yes $'\r' || true; } | head -c 20000000 >"$crlf" # 10 000 000 pairs "\r\n"
cat "$random" "$crlf" >/dev/null      # into the page cache

# best_of CMD...: runs CMD five times, prints its output once to stderr, echoes the best
# wall time in seconds.
best_of() {
    local best="" out t0 t1 t
    for _ in 1 2 3 4 5; do
        t0=$(date +%s%N)
        out=$("$@" 2>/dev/null)
        t1=$(date +%s%N)
        t=$(((t1 - t0) / 1000))
        if [[ -z $best || $t -lt $best ]]; then best=$t; fi
    done
    echo "    output: $out" >&2
    awk -v us="$best" 'BEGIN { printf "%.3f", us / 1e6 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

grep_count() { LC_ALL=C grep -c -a -F -- "$rare_bytes" "$random" || true; }
# grep cannot match across a line end: it finds the CR of every CR LF pair, the same
# offsets. Its output goes on into wc: writing to /dev/null makes GNU grep stop early.
grep_offsets() { LC_ALL=C grep -o -b -a -F -- $'\r' "$crlf" | wc -l; }

echo
echo "1 GiB of random bytes, pattern $rare_hex"
echo "  fread loop (floor):"
t_read=$(best_of "$cli" read "$random")
echo "  grep -c -a -F:"
t_grep=$(best_of grep_count)
echo "  Zirpel scan:"
t_scan=$(best_of "$cli" scan "$random" "$rare_hex")
"$cli" scan "$random" "$rare_hex" 2>&1 >/dev/null | sed 's/^/    /'
printf '  times: fread %ss, grep %ss, scan %ss\n' "$t_read" "$t_grep" "$t_scan"
printf '  scan / grep = %s (target at most 0.50), scan / fread = %s\n' \
    "$(ratio "$t_scan" "$t_grep")" "$(ratio "$t_scan" "$t_read")"

echo
echo "20 MB of CR LF pairs, pattern 0d0a (10 000 000 hits)"
echo "  grep -o -b -a -F | wc -l:"
t_grep2=$(best_of grep_offsets)
echo "  Zirpel scan only:"
t_scan2=$(best_of "$cli" scan "$crlf" 0d0a)
echo "  Zirpel scan, hit list filled and shown:"
t_list=$(best_of "$list_cli" "$crlf" 0d0a)
"$list_cli" "$crlf" 0d0a 2>&1 >/dev/null | grep peak | sed 's/^/    /'
printf '  times: grep %ss, scan %ss, scan and list %ss\n' "$t_grep2" "$t_scan2" "$t_list"
printf '  list / grep = %s (target at most 1.00)\n' "$(ratio "$t_list" "$t_grep2")"
