#!/usr/bin/env bash
# Generate as a whole process (the command line's --generate), against cp of
# the same template and against an awk script that writes the same patch.
# The template is generate_bench's, shaped like the sample templates (about
# 70% placeholder lines over all 34 placeholders, comments with 8-bit bytes,
# pragmas, offset lines, CR LF). The script first checks that the program
# and awk write the same bytes, then times each (median of 7; wall and
# processor time), with the kernel's and the loader's share of the program's
# time beside them.
# Usage: bench/generate_process.sh [BUILD_DIR] [LINES]   (default build, 1000000)
set -euo pipefail
build=${1:-build}
lines=${2:-1000000}
exe=$(readlink -f "$build/bin/jukora-patch-editor")
for tool in io_floor generate_bench; do
  [ -x "$build/bin/$tool" ] || {
    echo "generate_process: $build/bin/$tool is missing; build with the benchmarks" \
      "(tools/test does)" >&2
    exit 1
  }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/DB"
cp "$exe" "$work/"
export LC_ALL=C

"$build/bin/generate_bench" "$lines" --template "$work/DB/Bench.txt"

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
# The same Generate taking its layout from the whole patch (as reopening a
# patch written from a template this large does) writes the same patch again.
"$work/jukora-patch-editor" --generate --model Bench --layout "$work/awk.vkp" \
  --output "$work/whole.vkp"
cmp "$work/whole.vkp" "$work/awk.vkp" || { echo "the whole patch as layout gave another patch" >&2; exit 1; }
echo "template: $lines lines, $(stat -c %s "$work/DB/Bench.txt") bytes; program and awk agree byte for byte"

# Each command 7 times, interleaved, so that the machine's moods fall on all
# of them alike; the medians of wall time and of processor time (user + system,
# from the kernel's accounting of each child, to the microsecond). awk writes
# its patch to a file as the program does.
# Two more give the part of the program's time that is not its own: io_floor
# makes the same reads and write with no work per line, and --version loads
# the program (Qt included) and does nothing else. cp copies inside the
# kernel (copy_file_range): its bytes never reach a program at all.
# "whole" is the program with the whole patch as its layout: the layout
# reader then matches every line of a patch as large as the template.
python3 - "$work" "$(readlink -f "$build/bin/io_floor")" "$(stat -c %s "$work/awk.vkp")" <<'PY'
import os, resource, statistics, subprocess, sys, time
work, floor, patch_bytes = sys.argv[1:4]
commands = {
    "cp": ["cp", f"{work}/DB/Bench.txt", f"{work}/copy.txt"],
    "io_floor": [floor, f"{work}/DB/Bench.txt", f"{work}/floor.vkp", patch_bytes],
    "load": [f"{work}/jukora-patch-editor", "--version"],
    "awk": ["sh", "-c", f'awk -f "{work}/patch.awk" "{work}/DB/Bench.txt" > "{work}/awk2.vkp"'],
    "program": [f"{work}/jukora-patch-editor", "--generate", "--model", "Bench",
                "--layout", f"{work}/layout.vkp", "--output", f"{work}/out.vkp"],
    "whole": [f"{work}/jukora-patch-editor", "--generate", "--model", "Bench",
              "--layout", f"{work}/awk.vkp", "--output", f"{work}/whole.vkp"],
}
walls = {name: [] for name in commands}
cpus = {name: [] for name in commands}
for _ in range(7):
    for name, command in commands.items():
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        walls[name].append(time.perf_counter() - start)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpus[name].append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
wall = {name: statistics.median(v) * 1000 for name, v in walls.items()}
cpu = {name: statistics.median(v) * 1000 for name, v in cpus.items()}
for name in commands:
    print(f"{name:9} wall {wall[name]:7.1f} ms   cpu {cpu[name]:7.1f} ms")
print(f"program against cp:  {cpu['program'] / cpu['cp']:.2f}x cpu, "
      f"{wall['program'] / wall['cp']:.2f}x wall (target: at most 4x cpu)")
system = cpu["io_floor"] + cpu["load"]
print(f"not the program's own: reads and write {cpu['io_floor']:.1f} ms, loading {cpu['load']:.1f} ms; "
      f"together {system:.1f} ms ({system / cpu['cp']:.2f}x cp), the program's own work "
      f"{cpu['program'] - system:.1f} ms")
print(f"with the whole patch as layout: {cpu['whole']:.1f} ms cpu, "
      f"{cpu['whole'] - cpu['program']:.1f} ms more than with the first 100 lines")
print(f"awk against program: {wall['awk'] / wall['program']:.2f}x wall, "
      f"{cpu['awk'] / cpu['program']:.2f}x cpu (target: program at least 10x faster)")
PY
