#!/bin/sh
# Runs one fuzz target of a fuzz build for a number of seconds:
#   fuzz/run.sh BUILD_DIR TARGET SECONDS [libFuzzer options...]
# The target grows its own corpus in BUILD_DIR/fuzz/corpus/TARGET, starts from the seeds that
# the build wrote for it (BUILD_DIR/fuzz/seeds/TARGET) and uses fuzz/TARGET.dict when there
# is one; a find is written to BUILD_DIR/fuzz/artifacts/TARGET/. Leaks are judged with the
# test suites' suppressions: the font library's cache is its own, not a leak of ours.
set -eu
[ $# -ge 3 ] || { echo "usage: $0 BUILD_DIR TARGET SECONDS [options...]" >&2; exit 2; }
build=$(cd "$1" && pwd)
target=$2
seconds=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
corpus="$build/fuzz/corpus/$target"
artifacts="$build/fuzz/artifacts/$target"
mkdir -p "$corpus" "$artifacts"
set -- -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/" "$@"
[ -f "$here/$target.dict" ] && set -- -dict="$here/$target.dict" "$@"
LSAN_OPTIONS="suppressions=$here/../tests/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS
seeds="$build/fuzz/seeds/$target"
[ -d "$seeds" ] || seeds=
# shellcheck disable=SC2086 # no seed folder: no argument
exec "$build/fuzz/$target" "$@" "$corpus" $seeds
