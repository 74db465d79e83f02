#!/bin/sh
# The program pane on a generated 10-million-line program (or BLOCKS lines): the program is
# generated into a temporary folder, measured with cuttrace_pane_bench and deleted.
#
#   bench/pane_bench.sh [BUILD] [BLOCKS]
set -eu
build=${1:-build}
blocks=${2:-10000000}
here=$(dirname "$0")
gen="$here/../../shared/bench/gen_cam.py"
[ -f "$gen" ] || { echo "no generator at $gen (skipped)"; exit 0; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
program="$dir/cam$blocks.nc"
python3 "$gen" --blocks "$blocks" --seed 1 --out "$program"
echo "== $blocks blocks, $(wc -l <"$program") lines, $(wc -c <"$program") bytes"
QT_QPA_PLATFORM=offscreen "$build/bench/ui/cuttrace_pane_bench" "$program"
