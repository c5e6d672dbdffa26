#!/usr/bin/env bash
# The real program's command line with no display and no platform plugin
# named: what a template author or a script runs on a server.
# Usage: run_cli.sh PROGRAM SOURCE_DIR
set -uo pipefail
exe=$(readlink -f "$1")
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
# Only the samples beside the program: not templates this machine's user keeps.
export XDG_DATA_HOME="$work/data" XDG_DATA_DIRS="$work/sysdata"
passed=0 failed=0

expect() { # name, wanted status, command...
  local name=$1 want=$2 status=0
  shift 2
  "$@" >"$work/out" 2>"$work/err" || status=$?
  if [ "$status" -eq "$want" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $name: status $status, wanted $want"
    cat "$work/out" "$work/err"
  fi
}

expect "version" 0 "$exe" --version
grep -qx "jukora-patch-editor [0-9.]*" "$work/out" || { failed=$((failed + 1)); echo "FAIL: version text"; }
# The samples and the golden patches are sound, to a phone's patcher too.
for files in "$source"/DB/*.txt "$source"/tests/data/golden/*.vkp; do
  expect "sound: $files" 0 "$exe" --check "$files"
  [ ! -s "$work/out" ] && [ ! -s "$work/err" ] || { failed=$((failed + 1)); echo "FAIL: output on $files"; cat "$work/out"; }
done
printf 'plain\r\n*cx*1A0 6B21\r\n' > "$work/bad.txt"
expect "malformed line" 1 "$exe" --check "$work/bad.txt"
grep -qx "$work/bad.txt:2: error: \*cx\*: no \";\" to start the comment" "$work/out" \
  || { failed=$((failed + 1)); echo "FAIL: malformed line text"; cat "$work/out"; }
expect "unreadable file" 2 "$exe" --check "$work/missing.txt"
expect "generate from a sample patch" 0 "$exe" --generate --model "Novo N5" \
  --layout "$source/tests/data/golden/Novo N5.vkp" --output "$work/n5.vkp"
cmp -s "$work/n5.vkp" "$source/tests/data/golden/Novo N5.vkp" \
  || { failed=$((failed + 1)); echo "FAIL: regenerated patch differs"; }
# Without --layout, the patch of the layout every start begins with.
expect "generate the start layout" 0 "$exe" --generate --model "Novo N5" --output "$work/start.vkp"
python3 "$source/tests/data/make_golden.py" "$source/DB" "$work/expected" --model "Novo N5"
cmp -s "$work/start.vkp" "$work/expected/Novo N5.vkp" \
  || { failed=$((failed + 1)); echo "FAIL: the start layout's patch differs"; }
# With no display, anything but a command-line option says so, and how to
# reach the command line, instead of Qt's abort.
# Empty variables (ssh, sandboxes) name no display either.
for unset in "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM" "env DISPLAY= WAYLAND_DISPLAY= QT_QPA_PLATFORM="; do
  for args in "" "--chekc" "some.vkp"; do
    expect "no display ($unset): '$args'" 2 $unset "$exe" $args
    grep -q "no display was found.*" "$work/err" && grep -q -- "--help" "$work/err" \
      || { failed=$((failed + 1)); echo "FAIL: no display text for '$args'"; cat "$work/err"; }
  done
done
# Under a display, a mistyped option is named, never taken for a patch.
expect "unknown option under a display" 2 timeout 30 env QT_QPA_PLATFORM=offscreen "$exe" --chekc
grep -q "unknown argument '--chekc'" "$work/err" && grep -q -- "--help" "$work/err" \
  || { failed=$((failed + 1)); echo "FAIL: the unknown option is not named"; cat "$work/err"; }
# A display that is named but cannot be opened is answered as no display,
# whatever the arguments, instead of Qt's abort.
dead=917
while [ -e "/tmp/.X11-unix/X$dead" ] || [ -e "/tmp/.X$dead-lock" ]; do dead=$((dead + 1)); done
for args in "" "--chekc" "some.vkp"; do
  expect "dead display: '$args'" 2 env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:$dead "$exe" $args
  grep -q "the display :$dead could not be opened, so the window cannot open" "$work/err" \
    && grep -q -- "--help" "$work/err" \
    || { failed=$((failed + 1)); echo "FAIL: dead display text for '$args'"; cat "$work/err"; }
done
# A name that is not UTF-8 is refused by name, never opened or written as
# another file.
latin1=$(printf 'caf\xe9')
printf 'plain\n' > "$work/$latin1.txt"
for args in "--check $work/$latin1.txt" "--generate --model N --layout x --output $work/$latin1.vkp"; do
  expect "not UTF-8: $args" 2 "$exe" $args
  grep -q "is not valid UTF-8" "$work/err" \
    || { failed=$((failed + 1)); echo "FAIL: not UTF-8 text"; cat "$work/err"; }
done
[ "$(ls "$work" | grep -c caf)" -eq 1 ] || { failed=$((failed + 1)); echo "FAIL: a file was written"; ls "$work"; }
# Output that has nowhere to go is an error, as in the core utilities.
status=0; "$exe" --version >&- 2>"$work/err" || status=$?
[ "$status" -eq 2 ] && grep -q "cannot write to standard output" "$work/err" \
  || { failed=$((failed + 1)); echo "FAIL: closed standard output: status $status"; cat "$work/err"; }
# Lines of any length: a 100 KB line in each part a line has is written as
# the independent reference writes it, and the patch reads back the same.
db="$work/data/jukora-patch-editor/DB"
mkdir -p "$db"
fill() { head -c "$1" /dev/zero | tr '\0' "$2"; }
exact() { # a line of exactly $1 bytes: $2, filler $4, $3; then CR LF
  printf '%s%s%s\r\n' "$2" "$(fill $(($1 - ${#2} - ${#3})) "$4")" "$3"
}
{ printf '*cx*1A0: 6B21 6B21;x\r\n;%s\r\n' "$(fill 100000 k)"
  printf '*tx*3: 0032 0032;%s\r\n' "$(fill 100000 c)"
  printf '*ty*4: 00 00;t;%s\r\n' "$(fill 100000 z)"
  printf '*aly*6: %s 00;o\r\n' "$(fill 100000 A)"
  printf '*ta*5: 00 %s;n\r\n' "$(fill 100000 F)"
  printf '*alx*%s: 0037 0037;a\r\n' "$(fill 100000 0)"
  printf 'A0: %s %s\r\n' "$(fill 100000 0)" "$(fill 100000 1)"
  # Lines of 65536 and 65537 bytes, around the length up to which a line
  # is held whole, long in each part.
  for length in 65536 65537; do
    exact $length ';' '' w
    exact $length '*tx*3: 0032 0032;' '' c
    exact $length '*ty*4: 00 00;t;' '' z
    exact $length '*aly*6: ' ' 00;o' A
    exact $length '*ta*5: 00 ' ';n' F
    exact $length '*alx*' ': 0037 0037;a' 0
  done
} > "$db/Long.txt"
expect "long lines" 0 "$exe" --generate --model Long --output "$work/long.vkp"
python3 "$source/tests/data/make_golden.py" "$db" "$work/expected" --model Long
cmp -s "$work/long.vkp" "$work/expected/Long.vkp" \
  || { failed=$((failed + 1)); echo "FAIL: a template of long lines is not written exactly"; }
expect "long lines reopened" 0 "$exe" --generate --model Long --layout "$work/long.vkp" \
  --output "$work/again.vkp"
cmp -s "$work/long.vkp" "$work/again.vkp" \
  || { failed=$((failed + 1)); echo "FAIL: a patch of long lines does not read back"; }
expect "long lines checked" 0 "$exe" --check "$db/Long.txt"
grep -q ": error:" "$work/out" && { failed=$((failed + 1)); echo "FAIL: long lines refused"; cat "$work/out"; }
# What a placeholder line keeps (field 0 "*tx*3:", old value 0032, comment)
# on the limit is written; a byte more is refused with the line's length.
for extra in 0 1; do
  { printf ';x\n*tx*3: 0032 0032;'; fill $((16777216 - 10 + extra)) c; } > "$work/held.txt"
  expect "kept on the limit + $extra" "$extra" "$exe" --check "$work/held.txt"
done
grep -q "held.txt:2: error: \*tx\*: the line is 16777224 bytes long, and its first field, old value and comment take more than the 16777216 bytes (16 MiB)" "$work/out" \
  || { failed=$((failed + 1)); echo "FAIL: the limit's refusal"; cat "$work/out"; }
# What a placeholder line may keep, on the limit, is written.
printf ';x\n*tx*3: 0032 0032;' > "$db/Held.txt"
fill $((16777216 - 10)) c >> "$db/Held.txt"
expect "written on the limit" 0 "$exe" --generate --model Held --output "$work/held.vkp"
python3 "$source/tests/data/make_golden.py" "$db" "$work/expected" --model Held
cmp -s "$work/held.vkp" "$work/expected/Held.vkp" \
  || { failed=$((failed + 1)); echo "FAIL: a line on the limit is not written exactly"; }
# The firmware check compares a long line whose bytes lie in its first
# 64 KiB, passes over a long comment, and says which lines it cannot compare.
printf 'k!' > "$work/fw.bin"
{ printf '0: 6B21 0000;%s\n;%s\n1: 6B %s\n' "$(fill 70000 c)" "$(fill 70000 c)" "$(fill 70000 0)"; } > "$work/fwlong.txt"
expect "firmware on long lines" 1 "$exe" --check "$work/fwlong.txt" --firmware "$work/fw.bin"
grep -qx "$work/fwlong.txt:3: error: the line is 70006 bytes long; the firmware check reads a patch line's first 65536 bytes only, so its old bytes were not compared" "$work/out" \
  && [ "$(grep -c ': error:' "$work/out")" -eq 1 ] \
  || { failed=$((failed + 1)); echo "FAIL: firmware on long lines"; cat "$work/out"; }
rm -rf "$db" "$work"/*.vkp "$work/expected" "$work/held.txt" "$work/fwlong.txt" "$work/fw.bin"
# One line of 200 MB is checked and copied through in memory that does not
# grow with it.
{ printf '*cx*1A0: 6B21 6B21;x\n;'; fill 200000000 x; printf '\n'; } > "$work/long.txt"
for job in "--check $work/long.txt" "--generate --model Long --output $work/long.vkp"; do
  mkdir -p "$db" && cp "$work/long.txt" "$db/Long.txt"
  status=0
  /usr/bin/time -f %M -o "$work/peak" "$exe" $job >"$work/out" 2>&1 || status=$?
  peak=$(tail -n 1 "$work/peak")
  if [ "$status" -eq 0 ] && [ ! -s "$work/out" ] && [ "$peak" -lt 100000 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1)); echo "FAIL: a 200 MB line ($job): status $status, peak $peak kB"
    head -c 2000 "$work/out"
  fi
  rm -rf "$db"
done
[ "$(stat -c %s "$work/long.vkp")" -eq 200000021 ] \
  || { failed=$((failed + 1)); echo "FAIL: the 200 MB line was not copied whole"; }
rm -f "$work/long.txt" "$work/long.vkp"
# A relative XDG_DATA_HOME names no folder: it is ignored, and said once.
status=0
(cd "$work" && XDG_DATA_HOME=relative/data "$exe" --check "$source/DB/Novo N5.txt") \
  >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 0 ] && [ "$(grep -c 'XDG_DATA_HOME is the relative path "relative/data"' "$work/err")" -eq 1 ] \
  && passed=$((passed + 1)) \
  || { failed=$((failed + 1)); echo "FAIL: relative XDG_DATA_HOME: status $status"; cat "$work/err"; }
# A firmware image larger than the process may allocate is read only where
# the lines point (not under AddressSanitizer, which needs the address space).
if ! ldd "$exe" | grep -q asan; then
  truncate -s 1G "$work/flash.bin"
  status=0
  (ulimit -v 900000; "$exe" --check "$source/DB/Novo N5.txt" --firmware "$work/flash.bin" \
    --base A0000000) >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq 1 ] && grep -q "patch lines checked against" "$work/out" \
    && passed=$((passed + 1)) \
    || { failed=$((failed + 1)); echo "FAIL: a 1 GiB image: status $status"; cat "$work/err"; }
  rm -f "$work/flash.bin"
  # A patch of 57 MB that the memory cannot hold is said to be too large.
  awk 'BEGIN { for (i = 0; i < 3000000; i++) printf "%X: 00 11;x\r\n", 2952790016 + i }' > "$work/big.vkp"
  status=0
  (ulimit -v 300000; "$exe" --generate --model "Novo N5" --layout "$work/big.vkp" \
    --output "$work/big-out.vkp") >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq 2 ] && grep -q "The patch is too large for the memory" "$work/err" \
    && passed=$((passed + 1)) \
    || { failed=$((failed + 1)); echo "FAIL: a patch too large for memory: status $status"; cat "$work/err"; }
  rm -f "$work/big.vkp"
fi
# A user's template folder that cannot be read is named when the model
# asked for is not found (a link to itself stops root too).
mkdir -p "$work/data/jukora-patch-editor"
ln -s DB "$work/data/jukora-patch-editor/DB"
expect "model in an unreadable folder" 2 "$exe" --generate --model Mine --output "$work/m.vkp"
grep -q "jukora-patch-editor/DB cannot be read" "$work/err" \
  || { failed=$((failed + 1)); echo "FAIL: the unreadable folder is not named"; cat "$work/err"; }
rm -f "$work/data/jukora-patch-editor/DB"
# A layout carried across phones: read with the template of the one model
# the patch fits, of the model --layout-model names when several fit.
mkdir -p "$db"
printf '*cy*0A 00 00;y\r\n' > "$db/A.txt"
printf '*cx*0B 00 00;x\r\n' > "$db/B.txt"
cp "$db/B.txt" "$db/C.txt"
printf '*cy*0D 00 00;y\r\n' > "$db/D.txt"
printf '0D 00 1422;y\r\n' > "$work/d.vkp"
printf '0B 00 2A21;x\r\n' > "$work/b.vkp"
printf '0E 00 2A21;x\r\n' > "$work/e.vkp"
carry() { # name, status, patch, text wanted in the output, more options...
  local name=$1 want=$2 patch=$3 text=$4
  shift 4
  expect "carried: $name" "$want" "$exe" --generate --model A --layout "$work/$patch" --output "$work/a.vkp" "$@"
  grep -qF "$text" "$work/out" "$work/err" \
    || { failed=$((failed + 1)); echo "FAIL: carried: $name: no \"$text\""; cat "$work/out" "$work/err"; }
}
carry "one fits" 0 d.vkp "the layout of $work/d.vkp was read with the template of D."
[ "$(cat "$work/a.vkp")" = "$(printf '0A 00 1422;y\r')" ] \
  || { failed=$((failed + 1)); echo "FAIL: the carried layout was not written"; cat -A "$work/a.vkp"; }
rm "$work/a.vkp"
carry "several fit" 1 b.vkp "It fits the templates of B, C: name the one it was written for with --layout-model."
[ ! -e "$work/a.vkp" ] || { failed=$((failed + 1)); echo "FAIL: a patch was written"; }
carry "several fit, one named" 0 b.vkp "was read with the template of C." --layout-model C
carry "none fits" 1 e.vkp "cannot take the layout of $work/e.vkp with the template of A."
rm -rf "$db"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
