#!/usr/bin/env bash
# End to end: installs the built program into a scratch prefix, starts it
# under its own Xvfb and drives it with real X input (xdotool): drags the
# album cover and the title, centres the title, picks a phone, generates a
# patch through the real Save dialog and checks it byte for byte against the
# expected patch. Also checks that a missing DB ends the program with a
# message and a non-zero status.
# Usage: run_e2e.sh BUILD_DIR SOURCE_DIR [SCREENSHOT]
set -euo pipefail
build=$1
source=$2
screenshot=${3:-$build/e2e-screenshot.png}

for tool in Xvfb xdotool import python3; do
  command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (tools/test installs it)"; exit 1; }
done

work=$(mktemp -d)
source "$source/tools/xvfb.sh"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "e2e: FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$work/prefix" >/dev/null
exe="$work/prefix/bin/jukora-patch-editor"
[ -x "$exe" ] || fail "the installed program is missing"

start_xvfb || fail "Xvfb did not start"
pids+=("$XVFB_PID")
unset QT_QPA_PLATFORM
export QT_QPA_PLATFORM=xcb
# Data folders of the test's own: templates a user of this machine keeps
# must not stand in for the missing DB below.
export XDG_DATA_HOME="$work/data" XDG_DATA_DIRS="$work/sysdata"

# --- A missing DB ends the program after a message, with a failing status.
mkdir -p "$work/nodb"
cp "$(readlink -f "$exe")" "$work/nodb/"
"$work/nodb/jukora-patch-editor" &
nodb=$!
pids+=($nodb)
box=$(find_window "Jukora Patch Editor") || fail "no message box for a missing DB"
xdotool windowfocus --sync "$box" key Return
status=0
wait "$nodb" || status=$?
[ "$status" -ne 0 ] || fail "a missing DB ended with status 0"
echo "e2e: missing DB: message shown, exit status $status"

# --- The real run.
mkdir -p "$work/out"
# From here on the installed samples are found in the prefix's data folder,
# as in /usr/share.
export XDG_DATA_DIRS="$work/prefix/share"
# Started with a patch, as the file manager starts it: one written for the
# second model, with the bass indicator moved. The first model is selected,
# and the editor opens the patch on the model it fits without asking.
python3 "$source/tests/data/make_golden.py" "$source/DB" "$work/start" \
  --model "Novo N5" --move 3=150,70
(cd "$work/out" && exec "$exe" "$work/start/Novo N5.vkp") &
app=$!
pids+=($app)
win=$(find_window "Jukora v2 patch editor") || fail "the window did not appear"
sleep 1
[ -z "$(xdotool search --onlyvisible --name '^Jukora Patch Editor$' 2>/dev/null)" ] \
  || fail "a box or question came up for a patch named on the command line"
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "$WIDTH" = 358 ] && [ "$HEIGHT" -gt 324 ] || fail "window is ${WIDTH}x$HEIGHT, not 358 wide with bars"
# The client area lies below the menu bar: found where the phone screen's
# picture shows, a row of its status band inside the preview's frame.
import -window "$win" -depth 8 "$work/window.ppm"
convert "$source/assets/screen.png" -depth 8 "$work/screen.ppm"
menu=$(python3 - "$work/window.ppm" "$work/screen.ppm" <<'PY'
import sys
def load(path):
    data = open(path, 'rb').read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace(): at += 1
        if data[at:at + 1] == b'#':
            at = data.index(b'\n', at)
            continue
        end = at
        while not data[end:end + 1].isspace(): end += 1
        fields.append(data[at:end]); at = end
    return int(fields[1]), int(fields[2]), data[at + 1:]
ww, wh, win = load(sys.argv[1])
sw, sh, screen = load(sys.argv[2])
row = lambda pixels, width, y, x0, x1: pixels[(y * width + x0) * 3:(y * width + x1) * 3]
want = row(screen, sw, 10, 10, 200)
print(next(top for top in range(0, wh - 12) if row(win, ww, top + 2 + 10, 12, 202) == want))
PY
) || fail "the preview was not found in the window"
wx=$X
wy=$(( Y + menu ))
# Preview pixel (x, y) on the screen: inside the 2-pixel frame.
px() { echo $(( wx + 2 + $1 )); }
py() { echo $(( wy + 2 + $2 )); }
at() { xdotool mousemove --sync "$(px "$1" 0)" "$(py 0 "$2")"; }

drag() { # from-x from-y to-x to-y, in preview pixels
  at "$1" "$2"
  sleep 0.1
  xdotool mousedown 1
  sleep 0.1
  local i
  for i in 1 2 3 4 5; do
    at $(( $1 + ($3 - $1) * i / 5 )) $(( $2 + ($4 - $2) * i / 5 ))
    sleep 0.05
  done
  sleep 0.1
  xdotool mouseup 1
  sleep 0.1
  at 230 300   # away, without a button: the drag target ends
  sleep 0.1
}

click_window() { # x y in window coordinates
  xdotool mousemove --sync $(( wx + $1 )) $(( wy + $2 )) click 1
  sleep 0.3
}

xdotool windowfocus --sync "$win"
# The cover, taken at (60, 60): 53 right of and 30 below its corner.
drag 60 60 110 130          # cover: Left 57, Top 100
# The play time dragged away and the drag undone through the Edit menu
# (Alt+E, its first entry): the patch below must carry it where it started.
drag 170 150 100 290
xdotool key alt+e
sleep 0.3
xdotool key Return
sleep 0.3
# The title, taken 5 pixels inside its corner.
drag 40 210 105 250         # title: Left 100, Top 245
# The title is the style target now, and the status bar says so: the
# window keeps its size.
size=$(xdotool getwindowgeometry "$win" | tail -n 1)
[ "$size" = "  Geometry: ${WIDTH}x$HEIGHT" ] || fail "the window's size changed: ${WIDTH}x$HEIGHT, then$size"
# "Center" in the alignment list.
click_window 316 238
xdotool key Down Down Return
sleep 0.3
# The play time by keyboard alone: a click on bare surface gives the
# preview the focus and leaves the title held; Shift+Tab goes back to
# front from it (album, track number, play time, shuffle), Tab forward to
# the play time again; the arrows move it.
click_window 202 287
xdotool key shift+Tab shift+Tab shift+Tab shift+Tab Tab shift+Right Right Down Escape
sleep 0.3
import -window "$win" "$screenshot"

click_window 312 308       # Generate
dialog=$(find_window "Save As") || fail "no Save dialog"
xdotool windowfocus --sync "$dialog"
sleep 0.3
xdotool type --delay 30 "patch-e2e.vkp"
xdotool key Return
done_box=$(find_window "Jukora Patch Editor") || fail "no Done box"
xdotool windowfocus --sync "$done_box" key Return
sleep 0.3

python3 "$source/tests/data/make_golden.py" "$source/DB" "$work/expected" \
  --model "Novo N5" --move 3=150,70 --move 7=57,100 --move 12=100,245 --move 10=171,143 \
  --align 12=2
cmp "$work/out/patch-e2e.vkp" "$work/expected/Novo N5.vkp" || {
  diff <(tr -d '\r' < "$work/expected/Novo N5.vkp") <(tr -d '\r' < "$work/out/patch-e2e.vkp") | head -20
  fail "the patch differs from the expected one"
}
echo "e2e: patch of Novo N5 matches byte for byte ($(wc -c < "$work/out/patch-e2e.vkp") bytes)"
# The command line takes the window's patch back, with no display at all,
# and writes the same bytes.
env -u DISPLAY -u QT_QPA_PLATFORM "$exe" --generate --model "Novo N5" \
  --layout "$work/out/patch-e2e.vkp" --output "$work/out/again.vkp" || fail "--generate failed"
cmp "$work/out/patch-e2e.vkp" "$work/out/again.vkp" || fail "--generate wrote another patch"
env -u DISPLAY -u QT_QPA_PLATFORM "$exe" --check "$work/prefix/share/jukora-patch-editor/DB/Novo N5.txt" \
  || fail "--check found problems in a sample template"
echo "e2e: the command line regenerates the window's patch byte for byte"
# A change after the patch: closing asks first. Cancel keeps the window,
# "Close without a patch" ends the program.
xdotool windowfocus --sync "$win"
drag 100 150 120 170     # the cover, once more
xdotool key ctrl+q
box=$(find_window "Jukora Patch Editor") || fail "closing a changed layout asked nothing"
xdotool windowfocus --sync "$box" key Escape
sleep 0.5
kill -0 "$app" 2>/dev/null && xdotool search --onlyvisible --name "^Jukora v2 patch editor" >/dev/null \
  || fail "Cancel closed the window"
xdotool windowfocus --sync "$win" key ctrl+q
box=$(find_window "Jukora Patch Editor") || fail "the second close asked nothing"
xdotool windowfocus --sync "$box" key alt+c
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "\"Close without a patch\" left the program running"
echo "e2e: opened a patch given as an argument, undid through the Edit menu, asked before closing"
echo "e2e: screenshot in $screenshot"
echo "1 passed, 0 failed"
