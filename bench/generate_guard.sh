#!/usr/bin/env bash
# The Generate guard: the command line's --generate on a template of a
# million lines shaped like the samples (generate_bench writes it) must take
# under 1.5 s for the whole process, keep its memory flat (its peak within
# 16 MB of the same run on a template a tenth the size), and be at least 3
# times faster than an awk script that writes the same bytes. The script
# checks that the two patches are identical before it times them (median
# of 5, wall). Exits 1 when the guard is not met.
# Usage: bench/generate_guard.sh [BUILD_DIR]   (default build)
set -euo pipefail
build=${1:-build}
exe=$(readlink -f "$build/bin/jukora-patch-editor")
[ -x "$build/bin/generate_bench" ] || {
  echo "generate_guard: $build/bin/generate_bench is missing; build with the benchmarks" \
    "(tools/test does)" >&2
  exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/DB"
cp "$exe" "$work/"
export LC_ALL=C
"$build/bin/generate_bench" --template "$work/DB/Bench.txt" 1000000
"$build/bin/generate_bench" --template "$work/DB/Small.txt" 100000

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
"$work/jukora-patch-editor" --generate --model Bench --layout "$work/layout.vkp" --output "$work/out.vkp"
cmp "$work/out.vkp" "$work/awk.vkp" || { echo "the program and awk wrote different patches" >&2; exit 1; }
echo "template: 1000000 lines, $(stat -c %s "$work/DB/Bench.txt") bytes; program and awk agree byte for byte"

python3 - "$work" <<'PY'
import resource, statistics, subprocess, sys, time
work = sys.argv[1]
def program(model):
    return [f"{work}/jukora-patch-editor", "--generate", "--model", model,
            "--layout", f"{work}/layout.vkp", "--output", f"{work}/{model}.vkp"]
commands = {
    "program": program("Bench"),
    "awk": ["sh", "-c", f'awk -f "{work}/patch.awk" "{work}/DB/Bench.txt" > "{work}/awk2.vkp"'],
}
walls = {name: [] for name in commands}
for _ in range(5):
    for name, command in commands.items():
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        walls[name].append(time.perf_counter() - start)
def peak(command):
    # Each in a child of its own, so that the children's peak is this one's.
    out = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, check=True,
                         capture_output=True, text=True)
    return int(out.stderr.strip().splitlines()[-1]) / 1024
wall = {name: statistics.median(v) for name, v in walls.items()}
big, small = peak(program("Bench")), peak(program("Small"))
ok = True
def report(text, met):
    global ok
    ok &= met
    print(f"{text}: {'met' if met else 'NOT MET'}")
report(f"program {wall['program']:.3f} s wall (at most 1.5 s)", wall["program"] < 1.5)
report(f"awk {wall['awk']:.3f} s: {wall['awk'] / wall['program']:.1f}x the program (at least 3x)",
       wall["awk"] >= 3 * wall["program"])
report(f"peak memory {big:.1f} MB, {small:.1f} MB for a tenth of the lines (within 16 MB)",
       big - small <= 16)
sys.exit(0 if ok else 1)
PY
