#!/usr/bin/env bash
# The layering check fails on includes that break the layers, naming the
# file and the line: a copy of the tree with three planted includes.
. "$(dirname "$0")/lib/checks.sh" planted_include
cd "$root" || die "no source tree at $root"

mkdir "$work/tree" && cp -r src tools tests "$work/tree/"
expect "check-layers on the tree as it is" 0 "" scripts/check-layers "$work/tree"
printf '#include "driver/win32/Installer.h"\n' >>"$work/tree/src/lzh/lzh.cpp"
printf '#include <windows.h>\n' >>"$work/tree/src/ui/Layout.cpp"
printf '#include "volumes/VolumeRules.h"\n' >>"$work/tree/src/ui/Background.cpp"
expect "check-layers on planted includes" 1 "" scripts/check-layers "$work/tree"
for found in "^src/lzh/lzh.cpp:$(wc -l <"$work/tree/src/lzh/lzh.cpp"): includes src/driver/win32/Installer.h" \
  "^src/ui/Layout.cpp:[0-9]*: <windows.h> outside a win32/ folder" \
  "^loop between folders: .*src/ui -> src/volumes (src/ui/Background.cpp:"; do
  grep -q -- "$found" "$work/log" || fail "check-layers does not name: $found"
done
checks_done "planted includes found"
