#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the program need.
# Run as root on Debian 12 (or with sudo available).
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-declarative-dev qt6-charts-dev qt6-tools-dev-tools qt6-translations-l10n
  zlib1g-dev
  libgl1-mesa-dev
  fonts-wqy-microhei
  python3
  desktop-file-utils appstream dpkg-dev file e2fsprogs
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
