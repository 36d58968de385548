#!/usr/bin/env bash
# Extracting a set where it lies never harms it: a set whose packed files are named like its own
# (a product's installer SETUP.EXE and a SETUP.03, packed as files), extracted with --overwrite into
# its own folder, from its files or from its disk images, or into a folder holding a link to one of
# them, is refused before anything is written; the set stays whole and still tests sound.
#   set_intact.sh DISKSPAN-PACK DISKSPAN-EXTRACT
. "$(dirname "$0")/lib/checks.sh" set_intact
pack=$1 extract=$2
# Everything below the work directory but the log, with the contents of its files.
snapshot() { (cd "$work" && find . -mindepth 1 ! -name log -printf '%y %p\n' -type f -exec sha256sum {} \; | sort); }

python3 "$here/fake_stub.py" 3000 >"$work/stub.exe"
mkdir "$work/product"
python3 "$here/fake_stub.py" 5000 >"$work/product/SETUP.EXE"
noise 45000 1 >"$work/product/SETUP.03"
echo "Read me" >"$work/product/README.TXT"
cp "$work/product/README.TXT" "$work/product/DISK01.IMG"
"$pack" -q --stub "$work/stub.exe" -o "$work/set" --volume-size 20000 "$work/product"/* ||
  { echo "FAIL: the set did not pack" >&2; exit 1; }
[ -f "$work/set/SETUP.03" ] || { echo "FAIL: the set has fewer than 3 volumes" >&2; exit 1; }
mkdir "$work/linked" && ln "$work/set/SETUP.03" "$work/linked/SETUP.03"

# refused WHERE EXPECTED ARGUMENTS...: extract in WHERE; exit 1 with EXPECTED, and nothing anywhere changed.
refused() {
  local where=$1 expected=$2 before
  shift 2
  before=$(snapshot)
  (cd "$where" && "$extract" "$@") >"$work/log" 2>&1
  local status=$?
  [ "$status" = 1 ] || fail "extract $* in $where: exit $status, not 1"
  grep -qF -- "$expected" "$work/log" || fail "extract $* in $where does not say: $expected ($(cat "$work/log"))"
  [ "$(snapshot)" = "$before" ] || fail "extract $* in $where changed files"
}
refused "$work/set" "./SETUP.EXE is the set's installer, which this run reads: not written over, nor is anything" \
  --overwrite SETUP.EXE SETUP.EXE
refused "$work/set" "./SETUP.03 is volume 3 of the set, which this run reads" --overwrite SETUP.EXE
refused "$work" "linked/SETUP.03 is volume 3 of the set" --overwrite -d linked set/SETUP.EXE
"$extract" -q -t "$work/set/SETUP.EXE" || fail "the set no longer tests sound"

# From disk images: DISK01.IMG, a packed file, would replace the image being read.
if command -v mcopy >/dev/null; then
  "$pack" -q --stub "$work/stub.exe" -o "$work/images" --volume-size 160K --images "$work/product"/* ||
    fail "the set with images did not pack"
  rm "$work/images"/SETUP.*
  refused "$work/images" "./DISK01.IMG is DISK01.IMG, the disk image holding the set's installer" --overwrite DISK01.IMG
else
  echo "mtools is not installed: the disk images are not checked"
fi

checks_done "every extraction that would have harmed its set was refused, and the set is whole"
