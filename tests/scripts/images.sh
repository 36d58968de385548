#!/usr/bin/env bash
# Disk images never leave a set half made or half replaced, and mtools reads them alike for every user:
# without mtools, --images fails before a byte is written; a set replaced with --force --images keeps
# no stale image of the old one; the extractor finds images by content, whatever their names, names
# images it was given that hold no volume of the set, and --volumes never takes the installer's image;
# an output directory named like an option ("-s") reaches mtools as a path; mtools settings in the
# environment or ~/.mtoolsrc change nothing.
#   images.sh DISKSPAN-PACK DISKSPAN-EXTRACT
. "$(dirname "$0")/lib/checks.sh" images
pack=$1 extract=$2
command -v mcopy >/dev/null || { echo "images: mtools is not installed"; exit 1; }

mkdir "$work/in" && noise 700000 1 >"$work/in/NOISE.BIN" && echo small >"$work/in/SMALL.TXT"
packer=("$pack" -q --stub "$work/stub.exe" --volume-size 160K --images)
"${packer[@]}" -o "$work/set" "$work/in/NOISE.BIN" || die "the five-disk set did not pack"
[ -f "$work/set/DISK05.IMG" ] || die "the set has fewer than five disks"

# --volumes takes images holding volumes, never the installer's image.
expect "--volumes before DISK01.IMG" 0 "The set is sound" \
  "$extract" -t --volumes "$work/set"/DISK0[2-5].IMG "$work/set/DISK01.IMG"
# By content, whatever their names: the first one's neighbours are searched, and a directory named is
# searched for images too; a misspelt image is said to be no file either.
mkdir "$work/odd" "$work/more" && cp "$work/set/DISK01.IMG" "$work/odd/first disk.ima" && cp "$work/set/DISK02.IMG" "$work/odd/two"
for disk in 3 4 5; do cp "$work/set/DISK0$disk.IMG" "$work/more/DISK0$disk.vfd"; done
expect "images with odd names" 0 "The set is sound" "$extract" -t "$work/odd/first disk.ima" "$work/more"
expect "a misspelt image" 4 "'DISK2.IMG' matches no file in the set, nor is it a file or directory here" \
  "$extract" -t "$work/odd/first disk.ima" "$work/more" DISK2.IMG

# Without mtools nothing is written: the old set and its images stay whole.
before=$(snapshot "$work/set")
expect "--images without mtools" 1 "diskspan-pack: --images: mformat is not on PATH: disk images need mtools" \
  env PATH=/no-mtools "${packer[@]}" --force -o "$work/set" "$work/in/SMALL.TXT"
[ "$(snapshot "$work/set")" = "$before" ] || fail "a failed --images changed the old set"

# Replaced by a one-disk set: no image of the old set is left; the extractor names stale ones given.
mkdir "$work/old" && cp "$work/set/DISK03.IMG" "$work/old/"
expect "--force --images" 0 "" "${packer[@]}" --force -o "$work/set" "$work/in/SMALL.TXT"
[ "$(cd "$work/set" && echo *)" = "DISK01.IMG SETUP.01 SETUP.EXE" ] || fail "left in the set: $(ls "$work/set")"
expect "a stale image given" 0 "diskspan-extract: $work/old/DISK03.IMG: not used: no volume of this set was taken" \
  "$extract" -t "$work/set/DISK01.IMG" "$work/old/DISK03.IMG"

# An output directory named like an option: the images are made and read back.
expect "an output directory named -s" 0 "" bash -c 'cd "$1" && shift && "$@" --output-dir=-s in/SMALL.TXT' \
  images "$work" "${packer[@]}"
expect "testing -s/DISK01.IMG" 0 "The set is sound" "$extract" -t "$work/-s/DISK01.IMG"

# A user's mtools settings: every image still holds its installer and reads back.
mkdir "$work/home"
printf 'MTOOLS_DOTTED_DIR=1\nMTOOLS_DATE_STRING="dd.mm.yy"\nMTOOLS_TWENTY_FOUR_HOUR_CLOCK=0\nMTOOLS_LOWER_CASE=1\n' \
  >"$work/home/.mtoolsrc"
settings=(env HOME="$work/home" MTOOLS_DOTTED_DIR=1 MTOOLS_DATE_STRING=mm/dd/yyyy MTOOLS_NAME_NUMERIC_TAIL=0)
expect "packing under a user's mtools settings" 0 "" "${settings[@]}" "${packer[@]}" -o "$work/user" "$work/in/NOISE.BIN"
expect "testing under a user's mtools settings" 0 "The set is sound" \
  "${settings[@]}" "$extract" -t "$work/user"/DISK0[1-5].IMG

checks_done "made before the commit, never stale, read alike whatever the user's mtools settings"
