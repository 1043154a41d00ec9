#!/bin/sh
# Builds the fuzz targets (clang, libFuzzer, ASan + UBSan) and runs each for a
# bounded time, one after another, starting from the seed corpus in
# fuzz/corpus/<target>/. Exits non-zero when a target finds anything.
#
#   fuzz/run.sh [seconds per target, default 60; 0: build only] [target ...]
#
# Environment: FUZZ_BUILD_DIR (default build-fuzz), FUZZ_BUILD_JOBS (2).
# New corpus entries go to $FUZZ_BUILD_DIR/corpus/<target>/, crashes and
# property violations to $FUZZ_BUILD_DIR/artifacts/<target>/.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
seconds=${1:-60}
[ $# -gt 0 ] && shift
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
targets=${*:-fuzz_linereader_extract fuzz_census fuzz_convert fuzz_report fuzz_quillet}

sanitizers="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DMERROWBY_FUZZ=ON -DMERROWBY_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$sanitizers" >/dev/null
cmake --build "$build" -j "${FUZZ_BUILD_JOBS:-2}" --target $targets
[ "$seconds" -eq 0 ] && exit 0

failed=""
for target in $targets; do
    binary="$build/fuzz/$target"
    if [ ! -x "$binary" ]; then
        echo "fuzz: $target not built, skipped"
        continue
    fi
    mkdir -p "$build/corpus/$target" "$build/artifacts/$target"
    echo "fuzz: $target for ${seconds}s"
    if ! ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$binary" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2560 -max_len=65536 \
            -print_final_stats=1 -artifact_prefix="$build/artifacts/$target/" \
            "$build/corpus/$target" "$here/corpus/$target"; then
        failed="$failed $target"
    fi
done
if [ -n "$failed" ]; then
    echo "fuzz: findings in:$failed (see $build/artifacts/)"
    exit 1
fi
echo "fuzz: all targets ran ${seconds}s without a finding"
