#!/bin/sh
# Collects the user-visible texts of src/ into the translation files; then
# translate what is new (Qt Linguist, or any editor) and commit them.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup-deps.sh
for ts in translations/*.ts; do
    /usr/lib/qt6/bin/lupdate src -extensions cpp,h,qml,js -ts "$ts" -no-obsolete -locations none
done
