#!/usr/bin/env bash
# The desktop program's command line, end to end: --help and --version
# without a display, status 2 for a wrong command line, and under Xvfb a
# session named on the command line opens with its hills drawn, while a file
# that is not a session brings up the error box.
# Usage: check_command_line.sh WANDRIX VERSION
set -euo pipefail
here=$(dirname "$0")
source "$here/common.sh"
wandrix=$1 version=$2
require_tools xvfb-run xwininfo import convert

# No display at all: help and version still answer.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
"${no_display[@]}" "$wandrix" --help | grep -q '^Usage: wandrix \[OPTION\]... \[FILE\]$' ||
  fail "--help without a display"
[[ $("${no_display[@]}" "$wandrix" --version) == "wandrix $version" ]] || fail "--version"

expect_usage_error() {
  local status=0 err
  err=$(QT_QPA_PLATFORM=offscreen "$wandrix" "$@" 2>&1 >/dev/null) || status=$?
  [[ $status == 2 ]] || fail "wandrix $* ended with status $status, not 2"
  grep -q "^wandrix: $expected" <<<"$err" || fail "wandrix $* said: $err"
}
expected="unrecognised option '--bogus'" expect_usage_error --bogus
expected="only one session file" expect_usage_error a.dat b.dat
expected="unrecognised option '-x'" expect_usage_error -platform offscreen -x

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/two hills.dat" <<'SESSION'
WANDRIX 1.0
2024
400  400
150  150
20.00000
20.00000
2

west
120.00000
200.00000
40.00000
40.00000
0.30000
1.00000

east
290.00000
150.00000
30.00000
50.00000
-0.50000
2.00000
SESSION
printf 'time value\n1 2\n' >"$work/measurements.dat"

# Runs inside Xvfb: starts wandrix on a file, waits for a window with the
# title given, then takes pictures of the screen until one has at least the
# number of contour (yellow) pixels asked for, and ends the program.
cat >"$work/on_screen.sh" <<'SCRIPT'
#!/usr/bin/env bash
wandrix=$1 file=$2 title=$3 shot=$4 least_yellow=$5
yellow_pixels() { convert "$1" -fill black +opaque '#FFFF00' -fill white -opaque '#FFFF00' \
  -format '%[fx:round(mean*w*h)]' info:; }
"$wandrix" "$file" 2>"$shot.log" &
pid=$!
trap 'kill $pid' EXIT
for _ in $(seq 150); do
  xwininfo -root -tree | grep -qF "\"$title\"" && break
  sleep 0.1
done
if ! xwininfo -root -tree | grep -qF "\"$title\""; then
  echo "no window '$title'; wandrix said: $(cat "$shot.log")" >&2
  exit 1
fi
for _ in $(seq 30); do
  sleep 0.3
  import -window root "$shot"
  (($(yellow_pixels "$shot") >= least_yellow)) && exit 0
done
echo "too few contour pixels: $(yellow_pixels "$shot")" >&2
exit 1
SCRIPT
# Once more on failure: on a busy machine a display server started by another
# xvfb-run at the same moment can take the display number first.
on_screen() {
  local attempt
  for attempt in 1 2; do
    xvfb-run -a -s "-screen 0 640x480x24" bash "$work/on_screen.sh" "$wandrix" "$@" && return 0
    echo "(attempt $attempt failed)" >&2
  done
  return 1
}
yellow_pixels() { convert "$1" -fill black +opaque '#FFFF00' -fill white -opaque '#FFFF00' \
  -format '%[fx:round(mean*w*h)]' info:; }

on_screen "$work/two hills.dat" Wandrix "$work/good.png" 300 ||
  fail "wandrix did not show the session's hills"
contours=$(yellow_pixels "$work/good.png")

on_screen "$work/measurements.dat" "Error reading data file" "$work/bad.png" 0 ||
  fail "a file that is not a session brought up no error box"
[[ $(yellow_pixels "$work/bad.png") == 0 ]] || fail "hills drawn for a refused file"
echo "wandrix FILE: $contours contour pixels drawn; the error box for a bad file"
