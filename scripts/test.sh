#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   scripts/test.sh            normal build in build/
#   scripts/test.sh --asan     AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
builddir=build
# Optimised without debug information: the suite builds markedly faster and runs the same code.
flags=(-DVYN_WERROR=ON -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG")
if [[ "${1:-}" == "--asan" ]]; then
  builddir=build-asan
  # Lightly optimised, with assertions and without debug information: the sanitizers see the
  # same memory faults as in a debug build, the suite builds and runs in a fraction of the time,
  # and reports still name each function of the stack.
  flags=(-DVYN_WERROR=ON -DVYN_SANITIZE=ON -DVYN_BENCH=OFF -DCMAKE_BUILD_TYPE=Release
         "-DCMAKE_CXX_FLAGS_RELEASE=-O1")
fi
jobs=$(nproc)
cmake -S . -B "$builddir" -G Ninja "${flags[@]}"
cmake --build "$builddir" -j "$jobs"
export QT_QPA_PLATFORM=offscreen
cd "$builddir"
ctest --output-on-failure -j "$jobs" --timeout 600
