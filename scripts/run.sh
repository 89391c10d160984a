#!/usr/bin/env bash
# Installs what is missing, builds, starts an emulated instrument with a
# generated multi-session log on COM 1, and starts Korvanta Tools. The
# emulator stops when the program ends.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=build-run
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_BUILD_TESTS=OFF -DKV_BUILD_BENCH=OFF
cmake --build "$build" -j2 --target korvanta-tools korvanta-emulator

"$build/emulator/korvanta-emulator" --port 1 --pages 512 &
emulator=$!
trap 'kill "$emulator" 2>/dev/null || true; wait "$emulator" 2>/dev/null || true' EXIT
sleep 0.5
"$build/app/korvanta-tools" "$@"
