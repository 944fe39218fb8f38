#!/usr/bin/env bash
# wandrix-cli.exe under Wine writes the same bytes as the native wandrix-cli:
# samples (a walk of 200,000 steps of four chains, with heights), summary,
# landscape table, session file (under a name with an accent too), the
# picture in all three formats and the diagnostics picture, which the Windows
# program's diagnostics window shows.
# Usage: same_output.sh NATIVE_CLI WINDOWS_CLI   (Wine set up by the caller)
set -euo pipefail
native=$(realpath "$1") windows=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The default seed comes from the clock: every run names its own.
hills=(set rn_seed 20240917 hill west 130 200 35 35 0.3 1 hill east 280 150 25 25 -0.6 2)
cases=(
  "long:${hills[*]} chains 4 set allow_rotation 1 set nsteps 200000 start samples -"
  "rotated:${hills[*]} chains 3 set allow_rotation 1 set nsteps 3000 start continue rotate summary samples -"
  "files:${hills[*]} resize 392 354 set rn_seed 4242 start landscape land.txt save session.dat save séance.dat picture p.emf picture p.svg picture p.png diagnostics d.png diagnostics d.emf summary"
  "reopened:open ../files-native/séance.dat set rn_seed 77 start summary samples -"
)
failures=0
for entry in "${cases[@]}"; do
  name=${entry%%:*}
  read -r -a actions <<<"${entry#*:}"
  for side in native windows; do
    mkdir -p "$work/$name-$side"
  done
  (cd "$work/$name-native" && "$native" "${actions[@]}" >stdout)
  (cd "$work/$name-windows" && wine "$windows" "${actions[@]//..\/files-native/../files-windows}" >stdout)
  if ! diff -r "$work/$name-native" "$work/$name-windows" >/dev/null; then
    echo "same_output: $name differs between the native and the Windows build:" >&2
    diff -rq "$work/$name-native" "$work/$name-windows" >&2 || true
    failures=$((failures + 1))
  fi
done
# Every chain records at least one sample a step (an exchange records more).
lines=$(grep -c '^4,' "$work/long-native/stdout")
((lines > 200000)) || { echo "same_output: chain 4 of the long walk has $lines samples" >&2; exit 1; }
grep -q '^1,200000,[0-9]*,[0-9]*,[0-9]' "$work/long-native/stdout" ||
  { echo "same_output: the long walk's samples have no heights" >&2; exit 1; }
((failures == 0)) || exit 1
echo "same_output: ${#cases[@]} runs byte for byte alike ($(du -sk "$work" | cut -f1) KiB compared)"
