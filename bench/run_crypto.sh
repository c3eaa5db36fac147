#!/usr/bin/env bash
# Builds the crypto benchmarks (Release, build-bench/) and runs ours beside the comparators in
# one run. Prints one line per comparison: name, ours, comparator, ratio (ours / comparator,
# by throughput; a scaled ratio also for the 30-round Twofish variant against 16 rounds).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=../scripts/deps.sh
. "$root/scripts/deps.sh"
qv_install_deps
build_dir=${QV_BENCH_BUILD_DIR:-$root/build-bench}
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BUILD_BENCH=ON \
  -DQV_BUILD_TESTS=OFF -DQV_BUILD_APP=OFF >/dev/null
cmake --build "$build_dir" -j "${QV_JOBS:-2}" --target crypto_bench >/dev/null
json=$(mktemp)
trap 'rm -f "$json"' EXIT
"$build_dir/bench/crypto/crypto_bench" --benchmark_repetitions="${QV_BENCH_REPETITIONS:-3}" \
  --benchmark_report_aggregates_only=true --benchmark_min_time="${QV_BENCH_MIN_TIME:-0.3}" \
  --benchmark_format=json --benchmark_out="$json" >/dev/null
python3 - "$json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
pairs = {}
for r in runs:
    if r.get("aggregate_name", "median") != "median":
        continue
    fields = dict(kv.split("=", 1) for kv in r.get("label", "").split(";") if "=" in kv)
    if "pair" not in fields:
        continue
    rate = r.get("bytes_per_second") or r.get("items_per_second")
    unit = "MB/s" if "bytes_per_second" in r else "k/s"
    value = rate / 1e6 if unit == "MB/s" else rate / 1e3
    p = pairs.setdefault(fields["pair"], {})
    p[fields["side"]] = (value, unit)
    if "scale" in fields:
        p["scale"] = float(fields["scale"])
print(f"{'name':48} {'ours':>14} {'comparator':>14} {'ratio':>7}")
for name, p in pairs.items():
    if "ours" not in p or "comparator" not in p:
        continue
    (ours, unit), (comp, _) = p["ours"], p["comparator"]
    ratio = ours / comp
    extra = f"  (scaled x{p['scale']:.3f}: {ratio * p['scale']:.2f})" if "scale" in p else ""
    print(f"{name:48} {ours:9.1f} {unit:4} {comp:9.1f} {unit:4} {ratio:7.2f}{extra}")
PY
