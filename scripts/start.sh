#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRAMA_TESTS=OFF -DBRAMA_BENCH=OFF >/dev/null
cmake --build build
exec ./build/bin/bramasolovanti "$@"
