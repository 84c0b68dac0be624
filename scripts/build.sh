#!/usr/bin/env bash
# Configures and builds everything into build/ with Ninja.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUMSIEVE_WERROR=ON
cmake --build build
