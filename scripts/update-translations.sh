#!/bin/sh
# Collects the user-visible texts of src/ into the translation files; then
# translate what is new (Qt Linguist, or any editor) and commit them.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target update_translations
