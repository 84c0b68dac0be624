#!/usr/bin/env bash
# Start-up time of the window: a program folder with four lotteries of
# 100,000 draws each, then RUNS starts of bench_gui_startup (process start
# to the shown main window with its issue selector filled). Prints every
# run and the minimum, median and maximum in seconds.
#
#   bash bench/startup.sh [RUNS] [DRAWS]    (after scripts/build.sh; needs a display or xvfb-run)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
draws=${2:-100000}
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
mkdir -p "$folder/data"
cp resources/data/lottery.data "$folder/data/lottery.data"
for id in 1 2 3 4; do
  awk -v n="$draws" -v id="$id" 'BEGIN { for (i = 0; i < n; i++) printf "%07d$%03d\r\n", 2000000 + i, (i * 37 + id * 101) % 1000 }' \
    > "$folder/data/lottery_$id.data"
done
times=()
for ((r = 0; r <= runs; r++)); do
  start=$(date +%s%N)
  build/bin/bench_gui_startup "$folder" > /dev/null
  end=$(date +%s%N)
  # The first run warms the file cache and is not counted.
  [ "$r" -eq 0 ] && continue
  times+=("$(awk -v ns=$((end - start)) 'BEGIN { printf "%.3f", ns / 1e9 }')")
  echo "run $r: ${times[-1]} s"
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "min %.3f s, median %.3f s, max %.3f s over %d runs\n", t[1], (NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2), t[NR], NR }'
