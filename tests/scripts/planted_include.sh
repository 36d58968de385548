#!/usr/bin/env bash
# The layering check fails on includes that break the layers, naming the
# file and the line: a copy of the tree with three planted includes.
set -uo pipefail
cd "$(dirname "$0")/../.."
work=$(mktemp -d "${TMPDIR:-/tmp}/diskspan-layers.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; cat "$work/out" >&2; exit 1; }

cp -r src tools tests "$work/"
scripts/check-layers "$work" >"$work/out" || fail "the tree as it is breaks the layering"
printf '#include "driver/win32/Installer.h"\n' >>"$work/src/lzh/lzh.cpp"
printf '#include <windows.h>\n' >>"$work/src/ui/Layout.cpp"
printf '#include "volumes/VolumeRules.h"\n' >>"$work/src/ui/Background.cpp"
lines=$(wc -l <"$work/src/lzh/lzh.cpp")
code=0
scripts/check-layers "$work" >"$work/out" || code=$?
[ "$code" = 1 ] || fail "check-layers ended with $code on planted includes"
grep -q "^src/lzh/lzh.cpp:$lines: includes src/driver/win32/Installer.h" "$work/out" ||
  fail "the include of driver/ is not named"
grep -q "^src/ui/Layout.cpp:[0-9]*: <windows.h> outside a win32/ folder" "$work/out" ||
  fail "windows.h in a portable file is not named"
grep -q "^loop between folders: .*src/ui -> src/volumes (src/ui/Background.cpp:" "$work/out" ||
  fail "the loop between ui and volumes is not named"
echo "planted includes found"
