#!/usr/bin/env bash
# Installs what is missing, builds the program (Release, in build-run/) and starts it. On the
# first start the demo method library and the demo plate are installed into the data folder
# ($VYN_DATA_DIR, else ~/.local/share/vyn); without a configured reader the simulated one is used.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" = 0 ]; then bash scripts/install-deps.sh; else sudo bash scripts/install-deps.sh || true; fi
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DVYN_BENCH=OFF
cmake --build build-run --target vyn -j "$(nproc)"
data="${VYN_DATA_DIR:-$HOME/.local/share/vyn}"
args=("$@")
if [ ${#args[@]} -eq 0 ] && [ ! -e "$data/VYN.MTW" ]; then args=("$data/Demo.plt"); fi
exec build-run/src/app/vyn "${args[@]}"
