#!/usr/bin/env bash
# Peak memory and time of diskspan-pack on a 10 MB and a 200 MB input (half
# text, half incompressible bytes), with gzip -6 on the same input in the
# same run as the baseline for time. The packer streams its inputs through
# the encoder into the volumes, so its peak resident memory should not grow
# with the input (target: under 32 MB for both).
#   bench/pack-memory.sh [OTHER-PACK]   another packer binary for a side-by-side row
set -euo pipefail
trap 'echo "pack-memory: stopped: \"$BASH_COMMAND\" failed (line $LINENO)" >&2' ERR
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" --target diskspan-pack >/dev/null
pack=build/release/tools/pack/diskspan-pack
other=${1:-}
work=$(mktemp -d "${TMPDIR:-/tmp}/diskspan-pack-memory.XXXXXX")
trap 'rm -rf "$work"' EXIT
python3 tests/scripts/fake_stub.py 50000 >"$work/stub.exe"

# measure LABEL COMMAND...: prints "peak-MB seconds" of one run.
measure() {
  /usr/bin/time -f "%M %e" -o "$work/time" "$@" >/dev/null 2>"$work/err" ||
    { cat "$work/err" >&2; echo "pack-memory: $1 failed" >&2; exit 1; }
  awk '{ printf "%.1f %.2f", $1 / 1024, $2 }' "$work/time"
}

printf '%-26s %10s %12s %10s %9s\n' "row" "input MB" "peak RSS MB" "time s" "x gzip"
for mb in 10 200; do
  input="$work/INPUT$mb.BIN"
  { (seq 1 100000000 | head -c $((mb * 500000))) || true; head -c $((mb * 500000)) /dev/urandom; } >"$input"
  read -r _ gzipTime <<<"$(measure gzip -6 -c "$input")"
  printf '%-26s %10d %12s %10s %9s\n' "gzip -6 (baseline)" "$mb" "-" "$gzipTime" "1.00"
  rows=("diskspan-pack:$pack")
  [ -n "$other" ] && rows+=("other packer:$other")
  for row in "${rows[@]}"; do
    rm -rf "$work/out"
    read -r peak seconds <<<"$(measure "${row#*:}" --stub "$work/stub.exe" -o "$work/out" "$input")"
    ratio=$(awk -v a="$seconds" -v b="$gzipTime" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
    printf '%-26s %10d %12s %10s %9s\n' "${row%%:*}" "$mb" "$peak" "$seconds" "$ratio"
  done
done
