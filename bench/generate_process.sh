#!/usr/bin/env bash
# Generate as a whole process (the command line's --generate), against cp of
# the same template and against an awk script that writes the same patch.
# The template is shaped like the sample templates (about 70% placeholder
# lines over all 34 placeholders, comments with 8-bit bytes, pragmas, offset
# lines, CR LF). The script first checks that the program and awk write the
# same bytes, then times each (median of 5; wall and CPU seconds).
# Usage: bench/generate_process.sh [BUILD_DIR] [LINES]   (default build, 1000000)
# Needs GNU time and bc.
set -euo pipefail
build=${1:-build}
lines=${2:-1000000}
exe=$(readlink -f "$build/bin/jukora-patch-editor")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/DB"
cp "$exe" "$work/"
export LC_ALL=C

python3 - "$work/DB/Bench.txt" "$lines" <<'PY'
import sys
names = ["cw","cy","cx","ex","ey","sx","sy","lx","ly","aix","aiy","tix","tiy","albumx","albumy",
         "jix","jiy","ctw","ctx","cty","cta","tpx","tpy","tpa","tpw","ay","ax","aa","ty","tx",
         "ta","aly","alx","ala"]
out = []
for i in range(int(sys.argv[2])):
    k = i % 10
    if k < 7:
        out.append(b"*%s*%06X: %02X20 %02X20 ;element \xe4 %d" % (names[i % 34].encode(), i, i & 255, i & 255, i))
    elif k == 7:
        out.append(b";comment \xe9t\xe9 %d" % i)
    elif k == 8:
        out.append(b"#pragma enable old_equal_ff" if i % 20 == 8 else b"+A0000000")
    else:
        out.append(b"%06X: %02X %02X" % (i, i & 255, (i * 7) & 255))
open(sys.argv[1], "wb").write(b"\r\n".join(out) + b"\r\n")
PY

# The default layout's values, placeholder by placeholder, in search order.
cat > "$work/patch.awk" <<'AWK'
BEGIN {
    RS = "\r\n"; ORS = "\r\n"
    n = split("cw 9620 cy 0622 cx 0721 ex A520 ey 3A21 sx BB20 sy 5021 lx CD20 ly 3A21 " \
              "aix 0820 aiy A321 tix 0820 tiy BA21 albumx 0820 albumy D221 jix A120 jiy 0521 " \
              "ctw F0 ctx A022 cty 6023 cta 02 tpx A022 tpy 7623 tpa 02 tpw F0 ay 9F ax 2332 " \
              "aa 00 ty B5 tx 2332 ta 00 aly CF alx 2337 ala 00", t, " ")
    for (i = 1; i < n; i += 2) { ph[++rules] = "*" t[i] "*"; val[rules] = t[i + 1] }
}
{
    best = 0
    if (index($0, "*"))
        for (i = 1; i <= rules; i++) if (index($0, ph[i])) { best = i; break }
    if (!best) { print; next }
    sp = index($0, " "); rest = substr($0, sp + 1); sp2 = index(rest, " ")
    old = sp2 ? substr(rest, 1, sp2 - 1) : rest
    c = substr($0, index($0, ";") + 1); s2 = index(c, ";"); if (s2) c = substr(c, 1, s2 - 1)
    print substr($0, length(ph[best]) + 1, sp - length(ph[best]) - 1) " " old " " val[best] ";" c
}
AWK

awk -f "$work/patch.awk" "$work/DB/Bench.txt" > "$work/awk.vkp"
head -n 100 "$work/awk.vkp" > "$work/layout.vkp" # carries every placeholder's value
run_program() {
  "$work/jukora-patch-editor" --generate --model Bench --layout "$work/layout.vkp" \
    --output "$work/out.vkp"
}
run_program
cmp "$work/out.vkp" "$work/awk.vkp" || { echo "the program and awk wrote different patches" >&2; exit 1; }
echo "template: $lines lines, $(stat -c %s "$work/DB/Bench.txt") bytes; program and awk agree byte for byte"

# time_it NAME COMMAND...: median of 5 wall, user+sys seconds
time_it() {
  local name=$1 i
  shift
  local walls=() cpus=()
  for i in 1 2 3 4 5; do
    local t
    /usr/bin/time -o "$work/time" -f '%e %U %S' "$@" >/dev/null 2>&1
    read -r w u s <"$work/time"
    walls+=("$w")
    cpus+=("$(echo "$u + $s" | bc)")
  done
  wall=$(printf '%s\n' "${walls[@]}" | sort -n | sed -n 3p)
  cpu=$(printf '%s\n' "${cpus[@]}" | sort -n | sed -n 3p)
  printf '%-8s wall %6.3f s   cpu %6.3f s\n' "$name" "$wall" "$cpu"
  eval "wall_$name=$wall cpu_$name=$cpu"
}
time_it cp cp "$work/DB/Bench.txt" "$work/copy.txt"
time_it awk awk -f "$work/patch.awk" "$work/DB/Bench.txt"
time_it program "$work/jukora-patch-editor" --generate --model Bench --layout "$work/layout.vkp" \
  --output "$work/out.vkp"
echo "program against cp:  $(echo "scale=2; $cpu_program / $cpu_cp" | bc)x cpu, $(echo "scale=2; $wall_program / $wall_cp" | bc)x wall (target: at most 4x cpu)"
echo "awk against program: $(echo "scale=2; $wall_awk / $wall_program" | bc)x (target: program at least 10x faster)"
