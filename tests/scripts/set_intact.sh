#!/usr/bin/env bash
# Extracting a set where it lies never harms it: a set whose packed files are named like its own
# (a product's installer SETUP.EXE and a SETUP.03, packed as files), extracted with --overwrite into
# its own folder, from its files or from its disk images, or into a folder holding a link to one of
# them, is refused before anything is written: every file stays byte for byte as it was.
#   set_intact.sh DISKSPAN-PACK DISKSPAN-EXTRACT
. "$(dirname "$0")/lib/checks.sh" set_intact
pack=$1 extract=$2

mkdir "$work/product"
python3 "$here/fake_stub.py" 5000 >"$work/product/SETUP.EXE"
noise 45000 1 >"$work/product/SETUP.03"
echo "Read me" >"$work/product/README.TXT"
cp "$work/product/README.TXT" "$work/product/DISK01.IMG"
"$pack" -q --stub "$work/stub.exe" -o "$work/set" --volume-size 20000 "$work/product"/* ||
  die "the set did not pack"
[ -f "$work/set/SETUP.03" ] || die "the set has fewer than 3 volumes"
mkdir "$work/linked" && ln "$work/set/SETUP.03" "$work/linked/SETUP.03"

# refused WHERE EXPECTED ARGUMENTS...: extract in WHERE; exit 1 with EXPECTED, and nothing anywhere changed.
refused() {
  local before
  before=$(snapshot "$work")
  expect "extract ${*:3} in $1" 1 "$2" bash -c 'cd "$1" && shift && "$@"' refused "$1" "$extract" "${@:3}"
  [ "$(snapshot "$work")" = "$before" ] || fail "extract ${*:3} in $1 changed files"
}
refused "$work/set" "./SETUP.EXE is the set's installer, which this run reads: not written over, nor is anything" \
  --overwrite SETUP.EXE SETUP.EXE
refused "$work/set" "./SETUP.03 is volume 3 of the set, which this run reads" --overwrite SETUP.EXE
refused "$work" "linked/SETUP.03 is volume 3 of the set" --overwrite -d linked set/SETUP.EXE

# From disk images (mtools, which floppy.images needs too): DISK01.IMG, a packed file, would replace
# the image being read.
"$pack" -q --stub "$work/stub.exe" -o "$work/images" --volume-size 160K --images "$work/product"/* ||
  fail "the set with images did not pack"
rm "$work/images"/SETUP.*
refused "$work/images" "./DISK01.IMG is DISK01.IMG, the disk image holding the set's installer" --overwrite DISK01.IMG

checks_done "every extraction that would have harmed its set was refused, and the set is whole"
