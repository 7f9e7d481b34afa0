#!/bin/sh
# The panel draws its first frame from Qt Quick's own items: PanelWindow.qml
# and every file of the views it uses, followed from file to file, import
# neither Qt Quick Controls nor Qt Quick Layouts. A file counts as used when
# its type name appears in a file already on the list (a comment too, which
# errs on the safe side), as does a script it imports.
#   panel-imports.sh <folder of the views' QML files>
set -eu
dir=$1
[ -f "$dir/PanelWindow.qml" ] || { echo "FAIL: no PanelWindow.qml in $dir"; exit 1; }
todo="PanelWindow.qml"
seen=""
while [ -n "$todo" ]; do
    set -- $todo
    file=$1
    shift
    todo="$*"
    case " $seen " in *" $file "*) continue ;; esac
    seen="$seen $file"
    for name in $(grep -oE '\b[A-Z][A-Za-z0-9]*\b' "$dir/$file" | sort -u); do
        [ -f "$dir/$name.qml" ] && todo="$todo $name.qml"
    done
    for script in $(sed -n 's/^import "\([^"]*\)".*/\1/p' "$dir/$file"); do
        todo="$todo $script"
    done
done
bad=0
for file in $seen; do
    if grep -nE '^[[:space:]]*import[[:space:]]+QtQuick\.(Controls|Layouts|Templates)' "$dir/$file"; then
        echo "FAIL: $file, on the panel's path, imports the above"
        bad=1
    fi
done
[ $bad -eq 0 ] && echo "PASS: the panel's files ($(echo $seen | wc -w)) import only Qt Quick:$seen"
exit $bad
