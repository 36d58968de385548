#!/usr/bin/env bash
# Each disk of a set packed for a floppy format (the sample set, a 5 MB set) fits that format: its files
# copy with mtools onto a freshly formatted image, and the packer's own images (--images) have the
# format's size, pass fsck.fat, hold those files, and restore the set with diskspan-extract alone.
# --dry-run, run first, writes nothing and foretells the pack: its files, sizes and each file's disks.
#   floppy_fit.sh DISKSPAN-PACK DISKSPAN-EXTRACT
. "$(dirname "$0")/lib/checks.sh" floppy_fit
pack=$1 extract=$2
cd "$root" || die "no source tree at $root"

# mformat's arguments for each format; 1.68M is DMF (21 sectors, 2 KB clusters).
declare -A geometry=([160K]="-f 160" [180K]="-f 180" [320K]="-f 320" [360K]="-f 360" [720K]="-f 720"
  [1.2M]="-f 1200" [1.44M]="-f 1440" [1.68M]="-t 80 -h 2 -s 21 -c 4 -r 1" [2.88M]="-f 2880")

mkdir "$work/large" && noise 3000000 1 >"$work/large/RANDOM.BIN"
seq 1 400000 | head -c 2000000 >"$work/large/NUMBERS.TXT"
for format in "${!geometry[@]}"; do
  for files in examples/sample "$work/large"; do
    set=${files##*/} out=$work/$set-$format
    "$pack" -v -o "$out" --volume-size "$format" --images --dry-run "$files"/* >"$work/plan" 2>&1 ||
      { cat "$work/plan" >&2; die "$set set for $format: --dry-run failed"; }
    [ ! -e "$out" ] || die "--dry-run wrote into $out"
    "$pack" -v -o "$out" --volume-size "$format" --images "$files"/* >"$work/log" 2>&1 ||
      { cat "$work/log" >&2; die "$set set for $format did not pack"; }
    diff <(sed -e 1d -e 's/ would be coded into / coded into /' "$work/plan") "$work/log" >&2 ||
      die "--dry-run did not foretell the $set set for $format"
    grep -Eq "disks? of $format\$" "$work/log" || die "the summary does not name $format"
    disks=$(find "$out" -name 'SETUP.0*' | wc -l)
    for disk in $(seq 1 "$disks"); do
      image=$out/formatted-$disk.img written=$(printf '%s/DISK%02d.IMG' "$out" "$disk")
      on_disk=("$out/SETUP.0$disk")
      [ "$disk" = 1 ] && on_disk+=("$out/SETUP.EXE")
      # shellcheck disable=SC2086  # the geometry is several arguments
      mformat -C ${geometry[$format]} -i "$image" :: || die "mformat $format"
      mcopy -i "$image" "${on_disk[@]}" :: 2>"$work/err" ||
        { cat "$work/err" >&2; die "disk $disk of the $set set does not fit a $format disk"; }
      [ "$(stat -c %s "$written")" = "$(stat -c %s "$image")" ] || die "$written is not a $format image"
      fsck.fat -n "$written" >"$work/err" 2>&1 || { cat "$work/err" >&2; die "fsck.fat: $written"; }
      for f in "${on_disk[@]##*/}"; do mdir -i "$written" -b :: | grep -qx "::/$f" || die "$written lacks $f"; done
    done
    mkdir -p "$out/images" "$out/restored" && mv "$out"/DISK*.IMG "$out/images/"
    "$extract" -q -d "$out/restored" "$out"/images/DISK*.IMG || die "the $set set for $format does not restore from its images"
    diff -r "$files" "$out/restored" >&2 || die "the $set set differs after the $format images"
    rm -rf "$out"
    echo "$set set, $format: $disks disk(s), each fits, restored from the images"
  done
done
