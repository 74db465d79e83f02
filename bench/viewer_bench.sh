#!/bin/sh
# The viewer's figures on generated CAM programs of the given sizes (default 1M and 10M
# blocks): each program is generated into a temporary folder, measured and deleted.
#
#   bench/viewer_bench.sh [BUILD] [BLOCKS ...]
#
# For each size: the plain cuttrace-cli run and its --image run (whole process: seconds and
# peak memory from /usr/bin/time), then cuttrace_ui_bench (quick run with one and four views,
# the full redraw, pick, stored path, and for each interaction (zoom, rotation, preset,
# resize, layout switch, reset, open, clear) its longest event-loop gap). Quote medians; the
# machines are shared and noisy.
set -eu
build=${1:-build}
[ $# -gt 0 ] && shift
sizes=${*:-1000000 10000000}
here=$(dirname "$0")
gen="$here/../../shared/bench/gen_cam.py"
[ -f "$gen" ] || { echo "no generator at $gen (skipped)"; exit 0; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
for n in $sizes; do
    program="$dir/cam$n.nc"
    python3 "$gen" --blocks "$n" --seed 1 --out "$program"
    echo "== $n blocks"
    for args in "" "--image $dir/picture.png"; do
        # shellcheck disable=SC2086
        /usr/bin/time -f "cuttrace-cli $args: %e s wall, %U s user, %M KiB peak" \
            "$build/src/app/cuttrace-cli" $args "$program" >/dev/null
    done
    QT_QPA_PLATFORM=offscreen "$build/bench/ui/cuttrace_ui_bench" "$program" 3
    rm -f "$program" "$dir/picture.png"
done
