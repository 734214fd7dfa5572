#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the full build, then a
# sanitizer (ASan + UBSan) build of the Qt-free core and file loaders.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/configure.sh
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j2 --timeout 300)

if [ ! -f build-sanitize/build.ninja ]; then
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DPENDRA2_CORE_ONLY=ON -DPENDRA2_SANITIZE=ON
fi
cmake --build build-sanitize
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j2 --timeout 600)
