#!/usr/bin/env bash
# Archive benchmark: arctool against Info-ZIP unzip on the same package-like archive, on the
# same disk, in one run. Watches two targets: arctool's median wall time at most 0.9 of
# unzip's (extract and test), and arctool's peak memory at most 64 MB.
#
# The archive (about 200 MB, made with zip -P) holds compressible text, incompressible binary
# and about 5,000 small files. Each tool extracts it into a fresh folder RUNS times, the two
# alternating; then each tests it RUNS times. Run by hand: bench/run_archive.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
work=${QV_BENCH_DIR:-$root/build-bench/archive-data}
build=$root/build-bench
password=quaspel

for tool in zip unzip python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/deps.sh installs it)"; exit 2; }
done

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_APP=OFF \
  -DQV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target arctool >/dev/null
arctool=$build/tools/arctool

mkdir -p "$work"
cd "$work"
if [ ! -f pkg.zip ]; then
  echo "making the package (once; kept in $work)..."
  rm -rf data
  python3 - <<'PY'
import os, random
random.seed(5)
words = [''.join(random.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(random.randint(2, 11)))
         for _ in range(5000)]
def text(size):
    out, n = [], 0
    while n < size:
        line = ' '.join(random.choices(words, k=random.randint(4, 16))) + '\n'
        out.append(line); n += len(line)
    return ''.join(out)[:size].encode()
os.makedirs('data/text', exist_ok=True)
os.makedirs('data/bin', exist_ok=True)
blocks = [text(1 << 20) for _ in range(12)]
for i in range(6):                       # 6 x 24 MiB of text
    with open(f'data/text/doc{i}.txt', 'wb') as f:
        for j in range(24):
            f.write(blocks[(i * 7 + j * 5) % len(blocks)])
for i in range(10):                      # 10 x 14 MiB of incompressible binary
    with open(f'data/bin/blob{i}.bin', 'wb') as f:
        f.write(os.urandom(14 << 20))
for i in range(5000):                    # 5,000 small files in 50 folders
    d = f'data/small/dir{i // 100:02d}'
    os.makedirs(d, exist_ok=True)
    size = random.randint(200, 8000)
    body = text(size) if i % 3 else os.urandom(size)
    with open(f'{d}/file{i:04d}.dat', 'wb') as f:
        f.write(body)
PY
  zip -q -r -P "$password" pkg.zip data
  rm -rf data
fi
echo "archive: $(du -m pkg.zip | cut -f1) MB, $(unzip -Z1 pkg.zip | wc -l) entries"

# Prints "seconds kilobytes" of one run of the command.
measure() {
  /usr/bin/time -f "%e %M" -o time.txt "$@" >/dev/null 2>err.txt || {
    echo "FAILED: $*"; cat err.txt; exit 1; }
  cat time.txt
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

declare -A times mems
run_pair() {  # name, arctool command..., --, unzip command...
  local name=$1; shift
  local ours=() theirs=() side=ours
  for a in "$@"; do
    if [ "$a" = "--" ]; then side=theirs; continue; fi
    if [ $side = ours ]; then ours+=("$a"); else theirs+=("$a"); fi
  done
  : > ours_t; : > ours_m; : > theirs_t; : > theirs_m
  for i in $(seq "$runs"); do
    for who in ours theirs; do
      rm -rf out && sync
      if [ $who = ours ]; then r=$(measure "${ours[@]}"); else r=$(measure "${theirs[@]}"); fi
      echo "${r% *}" >> ${who}_t
      echo "${r#* }" >> ${who}_m
    done
  done
  local ot tt om tm
  ot=$(median < ours_t); tt=$(median < theirs_t)
  om=$(sort -n ours_m | tail -1); tm=$(sort -n theirs_m | tail -1)
  awk -v n="$name" -v ot="$ot" -v tt="$tt" -v om="$om" -v tm="$tm" 'BEGIN {
    printf "%-8s arctool %6.2f s %6.1f MB | unzip %6.2f s %6.1f MB | time ratio %.3f (target <= 0.9) | arctool peak %s (target <= 64 MB)\n",
      n, ot, om / 1024, tt, tm / 1024, ot / tt, (om <= 65536 ? "ok" : "OVER") }'
}

echo "median of $runs runs each, alternating; peak memory is the largest resident size"
run_pair extract "$arctool" extract pkg.zip -d out -p "$password" -- unzip -q -P "$password" pkg.zip -d out
run_pair test "$arctool" test pkg.zip -p "$password" -- unzip -tq -P "$password" pkg.zip
rm -rf out
