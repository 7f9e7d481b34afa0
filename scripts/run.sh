#!/bin/sh
# Installs what is missing, builds Quillfen and starts it.
set -eu
cd "$(dirname "$0")/.."

./scripts/setup-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target quillfen
exec ./build/bin/quillfen "$@"
