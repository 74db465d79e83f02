#!/usr/bin/env bash
# Batch check benchmark: `cuttrace-cli --check -j 2` over COUNT generated programs of BLOCKS
# blocks each, against running cuttrace-cli once per program from a shell loop.
#
#   bench/check_bench.sh [CLI] [COUNT] [BLOCKS]     (defaults: build/src/app/cuttrace-cli 1000 1000)
#
# The programs come from ../shared/bench/gen_cam.py (seeds 1..COUNT); without it the
# benchmark is skipped. Prints the wall and CPU seconds of each way; run it a few times and
# quote medians.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/src/app/cuttrace-cli}
count=${2:-1000}
blocks=${3:-1000}
gen="$root/../shared/bench/gen_cam.py"
if [ ! -f "$gen" ]; then
    echo "skipped: $gen is absent (the shared files beside the repository)"
    exit 0
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
python3 - "$gen" "$dir" "$count" "$blocks" <<'PY'
import runpy, sys
gen_path, out, count, blocks = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
generate = runpy.run_path(gen_path)["generate"]  # the generator's functions, without its main
for seed in range(1, count + 1):
    with open(f"{out}/p{seed:05d}.nc", "w", newline="\n") as f:
        generate(blocks, seed, f)
PY
TIMEFORMAT="%R s wall, %U s user, %S s sys"
echo "--check -j 2 over $count programs of $blocks blocks:"
time "$cli" --check -j 2 "$dir" >"$dir.jsonl" || true
tail -1 "$dir.jsonl"
rm -f "$dir.jsonl"
echo "shell loop, one cuttrace-cli per program:"
time (for f in "$dir"/*.nc; do "$cli" "$f" 2>/dev/null || true; done)
