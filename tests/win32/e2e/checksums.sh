#!/usr/bin/env bash
# End-to-end scenario of sets that carry checksums (those without are in
# stages.sh damaged_sets). Usage: checksums.sh NAME
. "$(dirname "$0")/lib.sh"

: "${DISKSPAN_OLD_STUB:?ctest passes the stub kept from before checksums}"

damaged_text() {
  printf 'Disk number %s is damaged or belongs to another set.\\nPlease insert a good copy of disk number %s and choose Retry.' "$1" "$1"
}

# A stub from before checksums installs a set with them. Today's names a
# damaged byte on each disk in turn, and Retry with the good copy back
# installs the set whole; a volume 2 of the other set is named too, and
# Cancel installs nothing.
damaged_disks() {
  local disk other="$E2E_DIR/other"
  DISKSPAN_STUB=$DISKSPAN_OLD_STUB pack_three_volumes 'E2E\CRC'
  install_set box Setup ok
  expect_success
  mv "$SET" "$other"
  EXTRA_FILES=()
  pack_three_volumes 'E2E\CRC'
  mkdir -p "$E2E_DIR/good"
  cp "$SET"/SETUP.0* "$E2E_DIR/good/"
  for disk in 1 2 3; do
    rm -rf "$DEST"
    # One byte in the middle changed; the size stays.
    python3 -c 'import sys; p = sys.argv[1]; d = bytearray(open(p, "rb").read()); d[len(d) // 2] ^= 0x5A; open(p, "wb").write(d)' \
      "$SET/SETUP.0$disk"
    start_stub "$SET/SETUP.EXE"
    drive "${DIALOG[@]}" enter gone see Setup
    cp "$E2E_DIR/good/SETUP.0$disk" "$SET/"
    drive box Setup retry box Setup ok
    finish_stub
    expect_line "seen \"Setup\" text \"$(damaged_text "$disk")\""
    expect_success
  done
  rm -rf "$DEST"
  cp "$other/SETUP.02" "$SET/SETUP.02"
  install_set box Setup cancel box Setup ok
  expect_line "box \"Setup\" text \"$(damaged_text 2)\" answer cancel"
  expect_terminated
  expect_nothing_installed "$DEST"
}

"$1"
echo "PASS: $1"
