#!/usr/bin/env bash
# wandrix.exe under Wine, driven as a person would, by window titles: the
# window opens, a left drag brings up the hill dialog, a walk is drawn, the
# summary box appears and its text is on the clipboard, the options dialog
# reports a value out of range, a right click without rotation explains
# itself, the picture reaches the clipboard, the diagnostics window shows the
# walk and then the Clear as its Copy has them, the about box opens and Exit
# ends the program with status 0; a picture is saved through the common file
# dialog.
# Usage: scenario.sh WANDRIX_EXE [SCREENSHOT_FOLDER]
# Wine, a display and a window manager are set up by the caller.
set -euo pipefail
exe=$(realpath "$1") shots=${2:+$(realpath "$2")}
work=$(mktemp -d)
program_pid=
cleanup() {
  # A program left running (the test failed) ends with the Wine it runs in:
  # its window would stand in the way of the next run.
  if [[ -n $program_pid ]]; then
    wineserver -k 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "scenario: $*" >&2
  import -window root "$work/failure.png" 2>/dev/null && cp "$work/failure.png" /tmp/wandrix-scenario-failure.png &&
    echo "scenario: the screen is in /tmp/wandrix-scenario-failure.png" >&2
  exit 1
}

# Wine is slow to show a window the first time on a busy machine (it loads
# fonts and controls then): each window is waited for up to a minute.
polls=300

# The id of the visible window with exactly this title, once it is there.
wait_window() {
  local id
  for _ in $(seq 1 "$polls"); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
    if [[ -n $id ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.2
  done
  fail "no window \"$1\""
}

wait_gone() {
  for _ in $(seq 1 "$polls"); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  fail "the window \"$1\" stayed open"
}

# Presses keys in a window: it is made the active one (unless it is "-", for
# an open menu) and the keys go through the keyboard. Each key is released even when the window closed at its press
# (xdotool would fail to send the release to a window that is gone, and the
# key would repeat for ever).
press() {
  if [[ $1 != - ]]; then
    xdotool windowactivate --sync "$1" 2>/dev/null || true
  fi
  shift
  for key in "$@"; do
    xdotool key "$key" 2>/dev/null || true
    xdotool keyup "${key##*+}" 2>/dev/null || true
  done
}

# Presses Enter in a box or dialog until it is gone: a window that has just
# appeared may not take keys yet.
dismiss() {
  local id
  id=$(wait_window "$1")
  for _ in 1 2 3 4 5; do
    press "$id" Return
    for _ in $(seq 1 25); do
      xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
      sleep 0.2
    done
  done
  fail "the window \"$1\" stayed open"
}

# Presses a key in a window until the window with the title appears.
press_until() {
  for _ in 1 2 3 4 5; do
    press "$2" "$1"
    for _ in $(seq 1 25); do
      xdotool search --onlyvisible --name "^$3\$" >/dev/null 2>&1 && return 0
      sleep 0.2
    done
  done
  fail "\"$1\" brought up no window \"$3\""
}

main_window() {
  local id
  id=$(wait_window Wandrix)
  xdotool windowactivate --sync "$id" 2>/dev/null || true
  echo "$id"
}

# Pixels of the chains' colour (blue well above red and green) in a window.
chain_pixels() {
  import -window "$1" "$work/chains.png"
  convert "$work/chains.png" -fx 'b > r + 0.25 && b > g + 0.25' -format '%[fx:round(mean*w*h)]' info:
}

walk_pixels() { chain_pixels "$(main_window)"; }

# Show > Diagnostics... (the last item of the Show menu, which has no
# mnemonic).
open_diagnostics() {
  for _ in 1 2 3 4 5; do
    press "$(main_window)" alt+s
    sleep 0.3
    press - Up Return
    for _ in $(seq 1 25); do
      xdotool search --onlyvisible --name "^Wandrix diagnostics\$" >/dev/null 2>&1 && return 0
      sleep 0.2
    done
  done
  fail "Show > Diagnostics... brought up no window"
}

# The diagnostics window's Copy, and the window on the screen equals it pixel
# for pixel once any redraw the throttle put off is done; sets traced to its
# pixels of the chains' colour.
shows_its_copy() {
  local window=$1 differing=
  shift
  press_until ctrl+c "$window" "Copy to clipboard"
  dismiss "Copy to clipboard"
  wait_clipboard -t image/png || fail "no picture on the clipboard after Copy $*"
  cp "$work/clipboard" "$work/copy.png"
  for _ in $(seq 1 25); do
    import -window "$window" "$work/shown.png"
    differing=$(compare -metric AE "$work/shown.png" "$work/copy.png" null: 2>&1) || true
    [[ $differing == 0 ]] && break
    sleep 0.2
  done
  [[ $differing == 0 ]] || fail "the diagnostics window differs from its copy $* ($differing pixels)"
  traced=$(chain_pixels "$window")
}

wait_clipboard() {
  for _ in $(seq 1 50); do
    if xclip -o -selection clipboard "$@" 2>/dev/null >"$work/clipboard"; then
      return 0
    fi
    sleep 0.2
  done
  return 1
}

shot() {
  [[ -z $shots ]] && return 0
  import -frame -window "$(wait_window "$1")" "$shots/$2"
}

cp "$(dirname "$exe")/Wandrix.html" "$work/" 2>/dev/null || true
(cd "$work" && exec wine "$exe" 2>"$work/wine.log") &
program_pid=$!

window=$(main_window)
geometry=$(xdotool getwindowgeometry --shell "$window" | awk -F= '/^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print w "x" h}')
[[ $(walk_pixels) -eq 0 ]] || fail "the empty landscape shows chain dots"

# A left drag outlines a hill; on release the hill dialog opens on it.
read -r left top < <(xdotool getwindowgeometry --shell "$window" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x, y}')
# Wine takes each step of the drag as its own event only with a pause between.
for step in "mousemove $((left + 100)) $((top + 150))" "mousedown 1" \
  "mousemove $((left + 150)) $((top + 200))" "mousemove $((left + 200)) $((top + 250))" "mouseup 1"; do
  read -r -a words <<<"$step"
  xdotool "${words[@]}"
  sleep 0.2
done
wait_window "Hill Parameters" >/dev/null
dismiss "Hill Parameters"

press "$(main_window)" ctrl+f
for _ in $(seq 1 50); do
  drawn=$(walk_pixels)
  ((drawn > 100)) && break
  sleep 0.2
done
((drawn > 100)) || fail "the walk is not drawn ($drawn pixels of chain colour)"

# Show > Summarize: the box, then the same text on the clipboard.
press "$(main_window)" alt+s
sleep 0.3
press - s
wait_window "Summary of results" >/dev/null
dismiss "Summary of results"
wait_clipboard -t UTF8_STRING || fail "no text on the clipboard"
grep -q '^Number of points sampled: 100$' "$work/clipboard" || fail "clipboard: $(cat "$work/clipboard")"

# Copy: the confirmation, and the picture on the clipboard in every form.
press_until ctrl+c "$(main_window)" "Copy to clipboard"
dismiss "Copy to clipboard"
wait_clipboard -t TARGETS || fail "nothing on the clipboard after Copy"
# Wine offers the metafile under its own name, the bitmap as image/bmp.
for format in WCF_ENHMETAFILE image/bmp image/png image/svg+xml; do
  grep -qx "$format" "$work/clipboard" ||
    fail "no $format on the clipboard: $(tr '\n' ' ' <"$work/clipboard")"
done

# Show > Diagnostics...: a window of its own beside the landscape; the
# screen shows what its Copy (Ctrl+C) puts on the clipboard, the picture of
# the model as it now is, after the walk and after a Clear; Esc closes it.
open_diagnostics
diagnostics=$(wait_window "Wandrix diagnostics")
read -r main_right < <(xdotool getwindowgeometry --shell "$(main_window)" | awk -F= '/^X=/{x=$2} /^WIDTH=/{w=$2} END{print x + w}')
read -r diagnostics_left < <(xdotool getwindowgeometry --shell "$diagnostics" | awk -F= '/^X=/{print $2}')
((diagnostics_left >= main_right)) ||
  fail "the diagnostics window (at x $diagnostics_left) covers the landscape (to x $main_right)"
shows_its_copy "$diagnostics" after the walk
walked=$traced
((walked > 0)) || fail "the diagnostics show no trace of the walk"
cp "$work/shown.png" "$work/walked.png"
shot "Wandrix diagnostics" windows-diagnostics.png
press "$(main_window)" alt+r
sleep 0.3
press - Up Return
# Only the empty plots' axes keep the chain's colour.
for _ in $(seq 1 50); do
  import -window "$diagnostics" "$work/shown.png"
  [[ $(compare -metric AE "$work/shown.png" "$work/walked.png" null: 2>&1) != 0 ]] && break
  sleep 0.2
done
shows_its_copy "$diagnostics" after Clear
((traced < walked / 4)) || fail "the diagnostics show the walk after Clear ($traced pixels of its colour)"
press "$diagnostics" Escape
wait_gone "Wandrix diagnostics"

# File > Save As Metafile: the common save dialog, a name typed without its
# extension, and an enhanced metafile beside the program's working folder.
press "$(main_window)" alt+f
sleep 0.3
press - m
save=$(wait_window "Save As")
sleep 0.5
xdotool windowactivate --sync "$save" 2>/dev/null || true
xdotool type picture
xdotool keyup e 2>/dev/null || true
dismiss "Save As"
for _ in $(seq 1 50); do
  [[ -s $work/picture.emf ]] && break
  sleep 0.2
done
[[ $(dd if="$work/picture.emf" bs=1 skip=40 count=4 2>/dev/null) == " EMF" ]] ||
  fail "Save As Metafile wrote no metafile"

# The options dialog corrects a step count of 0 and says so.
press_until ctrl+o "$(main_window)" "Robot Parameters"
options=$(wait_window "Robot Parameters")
shot "Robot Parameters" windows-options.png
press "$options" ctrl+a 0
press_until Return "$options" "Parameter must be greater than or equal to 1"
dismiss "Parameter must be greater than or equal to 1"
wait_gone "Robot Parameters"

# Without rotation allowed a right click explains why nothing turns.
read -r left top < <(xdotool getwindowgeometry --shell "$(main_window)" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x, y}')
for _ in 1 2 3 4 5; do
  xdotool mousemove $((left + 300)) $((top + 300))
  sleep 0.2
  xdotool click 3
  for _ in $(seq 1 25); do
    xdotool search --onlyvisible --name "^Rotation not allowed\$" >/dev/null 2>&1 && break 2
    sleep 0.2
  done
done
dismiss "Rotation not allowed"

press "$(main_window)" alt+h
sleep 0.3
press - a
wait_window "About Wandrix" >/dev/null
shot "About Wandrix" windows-about.png
dismiss "About Wandrix"

shot Wandrix windows.png
# Exit with the diagnostics window open again: it goes with the program.
open_diagnostics
press "$(main_window)" alt+f
sleep 0.3
press - x
for _ in $(seq 1 100); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.2
done
kill -0 "$program_pid" 2>/dev/null && fail "Exit did not end the program"
status=0
wait "$program_pid" || status=$?
program_pid=
((status == 0)) || fail "the program ended with status $status"
echo "scenario: window ($geometry), hill dialog, walk ($drawn pixels), summary and clipboard," \
  "copy, diagnostics window, metafile saved, options correction, rotation message, about box, exit: all as expected"
