#!/bin/sh
# Runs one test program on a virtual screen of its own (Xvfb, 1024 x 768)
# managed by a real window manager (openbox), so that focus, decorations and
# what the screen shows are what a user sees. Exits 77 (skipped) when either
# is not installed.
set -u
for tool in Xvfb openbox xprop import; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is not installed (scripts/install-deps installs it)"
    exit 77
  fi
done
dir=$(mktemp -d)
xvfb=
wm=
cleanup() {
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
xvfb=$!
i=0
while [ ! -s "$dir/display" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i + 1)); done
if [ ! -s "$dir/display" ]; then
  echo "Xvfb did not start:" && cat "$dir/xvfb.log"
  exit 1
fi
DISPLAY=:$(head -n 1 "$dir/display")
export DISPLAY
HOME=$dir openbox --sm-disable >"$dir/openbox.log" 2>&1 &
wm=$!
# openbox manages the screen once it names itself on the root window.
i=0
while ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && [ $i -lt 200 ]; do
  sleep 0.05
  i=$((i + 1))
done
QT_QPA_PLATFORM=xcb "$@"
