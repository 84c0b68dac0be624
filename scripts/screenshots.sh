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
# The chart shows its thirty position columns side by side on a wider screen.
xvfb-run -a -s "-screen 0 1200x800x24" build/bin/numsieve-screenshot docs/screenshot-trend.png trend
