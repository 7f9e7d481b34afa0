#!/bin/sh
# Installs what is missing, builds Quillfen with its tests and runs them all.
#   QUILLFEN_BUILD_DIR   build folder (default: build)
#   QUILLFEN_CMAKE_ARGS  extra CMake arguments, e.g. -DQUILLFEN_SANITIZE=ON
set -eu
cd "$(dirname "$0")/.."

./scripts/setup-deps.sh --with-tests

build_dir=${QUILLFEN_BUILD_DIR:-build}
# shellcheck disable=SC2086
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${QUILLFEN_CMAKE_ARGS:-}
cmake --build "$build_dir"
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)"
