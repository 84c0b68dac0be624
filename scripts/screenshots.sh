#!/usr/bin/env bash
# Renders the pictures in docs/ from the real window under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if ! command -v xvfb-run >/dev/null; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update && $SUDO apt-get install -y --no-install-recommends xvfb xauth
fi
bash scripts/build.sh
shoot() { xvfb-run -a -s "-screen 0 1100x800x24" build/bin/numsieve-screenshot "$1" "$2"; }
shoot docs/screenshot-main.png 2
shoot docs/screenshot-panel1.png 1
shoot docs/screenshot-panel15.png 15
shoot docs/screenshot-panel6.png 6
shoot docs/screenshot-issues.png issues
shoot docs/screenshot-manager.png manager
shoot docs/screenshot-import.png import
shoot docs/screenshot-exit.png exit
shoot docs/screenshot-update.png update
shoot docs/screenshot-backtest.png backtest
# The chart shows its thirty position columns side by side on a wider screen,
# also at 150%; the picture 导出图片 saves holds every column and row.
xvfb-run -a -s "-screen 0 1200x800x24" build/bin/numsieve-screenshot docs/screenshot-trend.png trend
xvfb-run -a -s "-screen 0 1200x800x24" build/bin/numsieve-screenshot docs/screenshot-chart.png chart
mkdir -p docs/screens
QT_SCALE_FACTOR=1.5 xvfb-run -a -s "-screen 0 1920x1080x24" \
  build/bin/numsieve-screenshot docs/screens/trend-1920x1080@150.png trend
# The main window, the manager and 方案回测 on the screens players have, each
# at its desktop scaling: docs/screens/SCENE-WIDTHxHEIGHT@PERCENT.png.
for screen in 1366x768@100 1920x1080@125 1920x1080@150 2560x1440@150 2560x1440@200 3840x2160@200; do
  size=${screen%@*}
  percent=${screen#*@}
  factor=$(awk "BEGIN { print $percent / 100 }")
  for scene in main manager backtest; do
    arg=$scene
    [ "$scene" = main ] && arg=2
    QT_SCALE_FACTOR=$factor xvfb-run -a -s "-screen 0 ${size}x24" \
      build/bin/numsieve-screenshot "docs/screens/$scene-$screen.png" "$arg"
  done
done
# 对奖 and 方案对比 on the screen most players have, at 150%.
for scene in check compare; do
  QT_SCALE_FACTOR=1.5 xvfb-run -a -s "-screen 0 1920x1080x24" \
    build/bin/numsieve-screenshot "docs/screens/$scene-1920x1080@150.png" $scene
done
# A 1366 × 768 laptop's screen less its task bar: the panels scroll, the
# command row stays whole.
xvfb-run -a -s "-screen 0 1366x728x24" build/bin/numsieve-screenshot docs/screens/main-1366x728@100.png 2
