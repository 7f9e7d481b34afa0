#!/bin/sh
# Runs qmllint over the views (the build's quillfen_views_qmllint target) and
# fails on any warning beyond the commented baseline of Qt 6.4's own.
#   tools/qmllint/check.sh [build-dir]
set -u
cd "$(dirname "$0")/../.."
build=${1:-build}
warnings="$build/qmllint-warnings.txt"
cmake --build "$build" --target quillfen_views_qmllint 2>&1 \
    | sed -n 's|^Warning: .*/\([A-Za-z]*\.qml\):[0-9]*:[0-9]*: \(.*\)$|\1: \2|p' \
    | sort | uniq -c | sed 's/^ *//' >"$warnings"
awk '
    NR == FNR { if ($0 !~ /^#/ && NF) { n = $1; sub(/^[0-9]+ /, ""); limit[$0] = n } next }
    { n = $1; w = $0; sub(/^[0-9]+ /, "", w); total += n
      if (!(w in limit) || n > limit[w]) { print "qmllint: " n " x " w; bad = 1 } }
    END { if (!bad) print "qmllint: nothing beyond the baseline (" total + 0 " known warnings)"; exit bad }
' tools/qmllint/baseline.txt "$warnings"
