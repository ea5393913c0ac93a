#!/usr/bin/env bash
# Installs what is missing, builds the program into build/ and starts it on the demo data volume
# (build/DemoVolume, named by the shipped tov2sf.ini).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja
ninja -C "$root/build" tov2sf program_folder

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "tov2sf is built in $root/build/TOV2SF but needs a graphical display to run; start this again from a desktop session." >&2
    exit 1
fi
exec "$root/build/TOV2SF/tov2sf"
