#!/usr/bin/env bash
# Installs what is missing, builds everything into build/ and runs the whole test suite.
# Extra arguments go to ctest (for example -L E2E).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja
ninja -C "$root/build"
ctest --test-dir "$root/build" --output-on-failure "$@"
