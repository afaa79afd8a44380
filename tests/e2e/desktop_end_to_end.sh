#!/usr/bin/env bash
# End to end in a real X server: start the application with a program, read the converted
# window through the clipboard, end it with File > End typed on the keyboard, and check the
# settings that the exit wrote.
#   desktop_end_to_end.sh QUILLMARK QUILLMARK-CONVERT PROGRAM
set -u
app=$1 converter=$2 program=$3

if [ "${4:-}" != "--inside-x" ]; then
  for tool in xvfb-run xdotool xclip; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIPPED: $tool is not installed; 'make test' installs it (Debian package ${tool/-run/})."
      exit 77
    fi
  done
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$app" "$converter" "$program" --inside-x
fi

fail() { echo "FAILED: $*"; exit 1; }
# No full stop in the folder: the first one of the whole path would set the file type.
work=$(mktemp -d "${TMPDIR:-/tmp}/quillmark-e2e-XXXXXX")
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
export LSAN_OPTIONS=detect_leaks=0  # the desktop libraries keep memory until exit
cp "$program" "$work/PART.MIN"

"$app" "$work/PART.MIN" &
pid=$!
window=$(timeout 30 xdotool search --sync --name '^Quillmark Eng Ver\.2\.38$' | head -n 1)
[ -n "$window" ] || fail "the main window did not appear"

expected=$("$converter" "$work/PART.MIN" | tr -d '\r')
converted=""
for _ in $(seq 1 40); do
  sleep 0.5
  # The converted window is tiled right of the source window, left of the In effect panel:
  # click into it, select all, copy.
  xdotool mousemove --window "$window" 420 300 click 1 key ctrl+a key ctrl+c
  converted=$(timeout 5 xclip -o -selection clipboard 2>/dev/null | tr -d '\r')
  [ "$converted" = "$expected" ] && break
done
[ "$converted" = "$expected" ] || fail "the converted window does not show the converted program"

xdotool key --window "$window" alt+f
sleep 0.5
xdotool key x
for _ in $(seq 1 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.25; done
kill -0 "$pid" 2>/dev/null && fail "File > End did not end the program"

ini=$XDG_CONFIG_HOME/Quillmark/Quillmark.ini
[ -f "$ini" ] || fail "the exit wrote no settings file"
grep -q "^RecentFile1=$work/PART.MIN\$" "$ini" || fail "RecentFile1 is not the opened program: $(cat "$ini")"
grep -q '^MainLeft=' "$ini" || fail "the window placement was not written"
grep -q '^MINdic=' "$ini" || fail "the dictionary of the MIN type was not recorded"
echo "1 passed, 0 failed"
