#!/usr/bin/env bash
# End-to-end scenarios of sets that carry checksums: the stub checks each
# volume as it copies it, names a damaged disk or one from another set and
# lets the user put in a good copy and retry, or cancel; sets without
# checksums, and stubs that know nothing of them, install as before.
# Usage: checksums.sh NAME
. "$(dirname "$0")/lib.sh"

: "${DISKSPAN_OLD_STUB:?ctest passes the stub kept from before checksums}"

# Three volumes (about 220 KB each) of random data and text.
pack_three_volumes() {
  add_random DATA.BIN 500000
  add_text NUMBERS.TXT "$(seq 1 3000)"
  pack_set "$SET" --title Setup --default-dir 'C:\E2E\CRC' --volume-size 220000 "$@"
  [ -e "$SET/SETUP.03" ] && [ ! -e "$SET/SETUP.04" ] || fail "the set has not three volumes"
  rm -rf "$(c_path 'E2E\CRC')"
}

# flip_byte FILE: changes one byte in the middle of FILE (its size stays).
flip_byte() {
  python3 - "$1" <<'PY'
import sys
path = sys.argv[1]
data = bytearray(open(path, 'rb').read())
data[len(data) // 2] ^= 0x5A
open(path, 'wb').write(data)
PY
}

damaged_text() {
  printf 'Disk number %s is damaged or belongs to another set.\\nPlease insert a good copy of disk number %s and choose Retry.' "$1" "$1"
}

# A damaged byte on each disk in turn is named; once the good copy is back,
# Retry installs the set whole.
damaged_disk_retried() {
  local disk
  pack_three_volumes
  mkdir -p "$E2E_DIR/good"
  cp "$SET"/SETUP.0* "$E2E_DIR/good/"
  for disk in 1 2 3; do
    rm -rf "$(c_path 'E2E\CRC')"
    flip_byte "$SET/SETUP.0$disk"
    start_stub "$SET/SETUP.EXE"
    drive "${DIALOG[@]}" enter gone see Setup
    cp "$E2E_DIR/good/SETUP.0$disk" "$SET/"
    drive box Setup retry box Setup ok
    finish_stub
    expect_line "seen \"Setup\" text \"$(damaged_text "$disk")\""
    expect_line "box \"Setup\" $INSTALLED\\nC:\\E2E\\CRC\" answer ok"
    expect_exit_zero
    expect_installed "$(c_path 'E2E\CRC')"
    expect_no_temporaries "$(c_path 'E2E\CRC')"
  done
}

# A volume 2 from another set, of the same size: named as damaged or
# foreign; Cancel ends the run and installs nothing.
foreign_disk_cancelled() {
  local other="$E2E_DIR/other"
  pack_three_volumes
  mv "$SET" "$other"
  EXTRA_FILES=()
  pack_three_volumes
  cp "$other/SETUP.02" "$SET/SETUP.02"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box Setup cancel box Setup ok
  expect_line "box \"Setup\" text \"$(damaged_text 2)\" answer cancel"
  expect_line "box \"Setup\" $TERMINATED"
  expect_exit_zero
  expect_nothing_installed "$(c_path 'E2E\CRC')"
}

# A set with checksums behind a stub built before them, and a set without
# them behind today's stub: both install.
older_stub_and_older_set() {
  DISKSPAN_STUB=$DISKSPAN_OLD_STUB pack_three_volumes
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box Setup ok
  expect_line "box \"Setup\" $INSTALLED\\nC:\\E2E\\CRC\" answer ok"
  expect_exit_zero
  expect_installed "$(c_path 'E2E\CRC')"

  EXTRA_FILES=()
  pack_three_volumes --no-checksums
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box Setup ok
  expect_line "box \"Setup\" $INSTALLED\\nC:\\E2E\\CRC\" answer ok"
  expect_exit_zero
  expect_installed "$(c_path 'E2E\CRC')"
}

"$1"
echo "PASS: $1"
