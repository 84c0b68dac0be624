#!/usr/bin/env bash
# Builds the Debian package numsieve_<version>_amd64.deb into the project folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
(cd build && cpack -G DEB -B "$PWD/package")
cp build/package/numsieve_*.deb .
ls -l numsieve_*.deb
