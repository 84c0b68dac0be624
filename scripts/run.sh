#!/usr/bin/env bash
# Installs what is needed, builds and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -x build/bin/numsieve ]; then
  exec build/bin/numsieve "$@"
fi
exec build/bin/numsieve-cli "${@:---help}"
