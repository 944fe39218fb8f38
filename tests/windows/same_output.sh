#!/usr/bin/env bash
# wandrix-cli.exe under Wine writes the same bytes as the native wandrix-cli:
# samples (a walk of 200,000 steps of four chains, with heights), summary,
# landscape table, session file (under a name with an accent too), the
# picture in all three formats and the diagnostics picture, which the Windows
# program's diagnostics window shows; and every lesson of resources/lessons,
# found beside the program by its name, walked and written in every form,
# also under a name with an accent beside a copy of the program.
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
lessons=$(cd "$(dirname "$0")/../../resources/lessons" && pwd)
names=()
for file in "$lessons"/*.json; do
  names+=("$(basename "$file" .json)")
  cases+=("lesson-${names[-1]}:lesson ${names[-1]} start continue summary rates samples - landscape land.txt save lesson.dat picture l.emf picture l.svg picture l.png")
done
((${#names[@]} > 0)) || { echo "same_output: no lessons in $lessons" >&2; exit 1; }

failures=0 runs=0
# Runs one case's actions with each program, in a folder of its own, and
# compares everything they wrote.
compare() {
  local name=$1 native_program=$2 windows_program=$3
  shift 3
  runs=$((runs + 1))
  for side in native windows; do
    mkdir -p "$work/$name-$side"
  done
  (cd "$work/$name-native" && "$native_program" "$@" >stdout)
  (cd "$work/$name-windows" && wine "$windows_program" "${@//..\/files-native/../files-windows}" >stdout)
  if ! diff -r "$work/$name-native" "$work/$name-windows" >/dev/null; then
    echo "same_output: $name differs between the native and the Windows build:" >&2
    diff -rq "$work/$name-native" "$work/$name-windows" >&2 || true
    failures=$((failures + 1))
  fi
}
for entry in "${cases[@]}"; do
  read -r -a actions <<<"${entry#*:}"
  compare "${entry%%:*}" "$native" "$windows" "${actions[@]}"
done

# A lesson under a name with an accent, in the lessons folder beside a copy
# of each program, by its name and by its path.
for side in native windows; do
  mkdir -p "$work/program-$side/lessons"
  cp "$lessons/${names[0]}.json" "$work/program-$side/lessons/première-leçon.json"
  cp "$lessons"/*.dat "$work/program-$side/lessons/"
done
cp "$native" "$work/program-native/"
cp "$windows" "$work/program-windows/"
compare accented "$work/program-native/$(basename "$native")" \
  "$work/program-windows/$(basename "$windows")" lesson première-leçon start summary samples -
compare accented-path "$native" "$windows" lesson "$work/program-native/lessons/première-leçon.json" \
  start summary samples -
grep -q '^1,1,' "$work/accented-native/stdout" ||
  { echo "same_output: the lesson with an accent was not walked" >&2; exit 1; }
# Every chain records at least one sample a step (an exchange records more).
lines=$(grep -c '^4,' "$work/long-native/stdout")
((lines > 200000)) || { echo "same_output: chain 4 of the long walk has $lines samples" >&2; exit 1; }
grep -q '^1,200000,[0-9]*,[0-9]*,[0-9]' "$work/long-native/stdout" ||
  { echo "same_output: the long walk's samples have no heights" >&2; exit 1; }
((failures == 0)) || exit 1
echo "same_output: $runs runs byte for byte alike (lessons: ${#names[@]}, $(du -sk "$work" | cut -f1) KiB compared)"
