#!/usr/bin/env bash
# Runs a command with a private PulseAudio server whose only output is a null sink: a real sound
# device that makes no noise. Exits 77 (skipped) where PulseAudio is not installed.
set -euo pipefail
command -v pulseaudio >/dev/null || { echo "pulseaudio not installed"; exit 77; }
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
chmod 700 "$XDG_RUNTIME_DIR"
unset PULSE_SERVER
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
    -L module-native-protocol-unix -L "module-null-sink sink_name=nullsink" \
    -L module-always-sink >"$XDG_RUNTIME_DIR/pulse.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR"' EXIT
for _ in $(seq 50); do
    [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/pulse/native" ] || { cat "$XDG_RUNTIME_DIR/pulse.log"; exit 1; }
"$@"
