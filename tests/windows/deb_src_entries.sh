#!/usr/bin/env bash
# The deb-src entries build-windows makes from each layout of apt's sources that Debian 12
# may have: deb822 files only (a fresh installation), the one-line sources.list only, both,
# neither. Each layout, then the number of deb-src stanzas and the mirrors it must name.
set -euo pipefail
script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/build-windows"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

deb822='Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg'
oneline='# a comment
deb [arch=amd64 signed-by=/etc/apt/k.gpg] http://ftp.de.debian.org/debian bookworm main contrib'

status=0
check() {
  local name="$1" sources="$2" list="$3" stanzas="$4" mirrors="$5" etc="$work/$1" out
  mkdir -p "$etc/sources.list.d"
  [ -z "$sources" ] || printf '%s\n' "$sources" >"$etc/sources.list.d/debian.sources"
  [ -z "$list" ] || printf '%s\n' "$list" >"$etc/sources.list"
  if ! out="$("$script" --deb-src-entries "$etc" 2>&1)"; then
    echo "FAIL $name: $out"
    status=1
    return
  fi
  local n
  n="$(grep -c '^Types: deb-src$' <<<"$out" || true)"
  [ "$n" = "$stanzas" ] || { echo "FAIL $name: $n stanzas, not $stanzas: $out"; status=1; }
  for mirror in $mirrors; do
    grep -q "^URIs: $mirror$" <<<"$out" || { echo "FAIL $name: no $mirror in: $out"; status=1; }
  done
  echo "ok $name"
}
check "deb822 only" "$deb822" "" 1 http://deb.debian.org/debian
check "one-line only" "" "$oneline" 1 http://ftp.de.debian.org/debian
check "both" "$deb822" "$oneline" 2 "http://deb.debian.org/debian http://ftp.de.debian.org/debian"
check "neither" "" "" 0 ""
check "deb and deb-src in one stanza" "${deb822/Types: deb/Types: deb deb-src}" "" 1 \
  http://deb.debian.org/debian
check "a stanza switched off" "$deb822"$'\nEnabled: no' "" 0 ""
exit $status
