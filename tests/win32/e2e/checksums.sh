#!/usr/bin/env bash
# End-to-end scenarios of sets that carry checksums: the stub checks each
# volume as it copies it, names a damaged disk or one from another set and
# lets the user put in a good copy and retry, or cancel; sets without
# checksums, and stubs that know nothing of them, install as before.
# Usage: checksums.sh NAME
. "$(dirname "$0")/lib.sh"

: "${DISKSPAN_OLD_STUB:?ctest passes the stub kept from before checksums}"

damaged_text() {
  printf 'Disk number %s is damaged or belongs to another set.\\nPlease insert a good copy of disk number %s and choose Retry.' "$1" "$1"
}

# A damaged byte on each disk in turn is named; once the good copy is back,
# Retry installs the set whole.
damaged_disk_retried() {
  local disk
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
}

# A volume 2 from another set, of the same size: named as damaged or
# foreign; Cancel ends the run and installs nothing.
foreign_disk_cancelled() {
  local other="$E2E_DIR/other"
  pack_three_volumes 'E2E\CRC'
  mv "$SET" "$other"
  EXTRA_FILES=()
  pack_three_volumes 'E2E\CRC'
  cp "$other/SETUP.02" "$SET/SETUP.02"
  install_set box Setup cancel box Setup ok
  expect_line "box \"Setup\" text \"$(damaged_text 2)\" answer cancel"
  expect_terminated
  expect_nothing_installed "$DEST"
}

# A set with checksums behind a stub built before them, and a set without
# them behind today's stub: both install.
older_stub_and_older_set() {
  DISKSPAN_STUB=$DISKSPAN_OLD_STUB pack_three_volumes 'E2E\CRC'
  install_set box Setup ok
  expect_success
  EXTRA_FILES=()
  pack_three_volumes 'E2E\CRC' --no-checksums
  install_set box Setup ok
  expect_success
}

"$1"
echo "PASS: $1"
