#!/usr/bin/env bash
# End-to-end scenarios of the stages and their failures. Usage: stages.sh NAME
. "$(dirname "$0")/lib.sh"
: "${DISKSPAN_OLD_STUB:?ctest passes the stub kept from before checksums}"

STAGE=(wait "Please Stand By...")

# A set that takes a while: 10 MB that does not compress, on 1.44 MB disks.
pack_large() {
  add_random BIG.BIN 10000000
  pack_for 'E2E\LARGE' "$@"
}

# prompted_install EXE INSERT: disk 2 is asked for, a wrong disk refused and
# disk 2 asked for again, then disk 3; INSERT N puts disk N in (or wrong).
prompted_install() {
  start_stub "$1"
  drive "${DIALOG[@]}" enter gone see Setup
  "$2" wrong; drive box Setup ok box "" ok see Setup
  "$2" 2; drive box Setup ok see Setup
  "$2" 3; drive box Setup ok box Setup ok
  finish_stub
  expect_line 'box "" text "This is not the appropriate disk.\nPlease insert the correct disk and Press Enter" answer ok'
  expect_line 'seen "Setup" text "Please Insert Disk number 3"'
  [ "$(grep -c '^box "Setup" text "Please Insert Disk number 2" answer ok$' "$LOG")" = 2 ] ||
    fail "disk 2 was not asked for twice"
  expect_success
}

# Cancel at a disk prompt ends the run without a confirmation; volumes put
# beside the stub when asked for install; volume 1 missing fails before
# Split.Spt is made. With all volumes there, write-protected (immutable) or
# read-only, there is no prompt, and DestDir is shown exactly as entered.
three_volumes() {
  local away="$E2E_DIR/away" dest
  pack_three_volumes 'E2E\STAGES'
  mkdir -p "$away"; mv "$SET/SETUP.02" "$SET/SETUP.03" "$away/"
  install_set box Setup cancel box Setup ok
  expect_line 'box "Setup" text "Please Insert Disk number 2" answer cancel'
  expect_terminated
  expect_nothing_installed "$DEST"
  put_back() { [ "$1" = wrong ] || mv "$away/SETUP.0$1" "$SET/"; }
  prompted_install "$SET/SETUP.EXE" put_back
  rm -rf "$DEST"
  mv "$SET/SETUP.01" "$away/"
  install_set box Setup ok
  expect_failure "Cannot open $(win_path "$SET/SETUP.01"): it is not there."
  expect_absent "$DEST/Split.Spt"
  mv "$away/SETUP.01" "$SET/"
  chmod a-w "$SET/SETUP.01"
  make_immutable "$SET/SETUP.02"
  for dest in d e; do mkdir -p "$E2E_DIR/drive-$dest"; map_drive $dest "$E2E_DIR/drive-$dest"; done
  for dest in 'D:\APPS\|drive-d/APPS' 'E:|drive-e'; do
    DEST_WIN=${dest%|*} DEST=$E2E_DIR/${dest#*|}
    run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" set 104 "$DEST_WIN" press 1 gone box Setup ok
    expect_success
  done
}

# Cancel confirmed while copying, and while decoding (No first goes on):
# nothing is installed, nothing starts, not even a copy already there. The
# red and white bar with its percentage in both stages, taken with the stub
# frozen as soon as the bar is partway, however fast the machine.
stage_dialogs() {
  add_launcher
  pack_large --launch RUN.BAT
  mkdir -p "$DEST"; cp "$E2E_DIR/files/RUN.BAT" "$DEST/RUN.BAT"
  install_set "${STAGE[@]}" press 2 texts box "Exit Setup" yes box Setup ok
  expect_line 'texts "Please Stand By..." "frame" "Installing the files."'
  expect_terminated
  expect_nothing_installed "$DEST"
  install_set "${STAGE[@]}" gone "${STAGE[@]}" press 2 box "Exit Setup" no press 2 texts \
    box "Exit Setup" yes box Setup ok
  expect_line 'texts "Please Stand By..." "frame" "Uncompressing the files:"'
  expect_terminated
  expect_nothing_installed "$DEST"
  sleep 2
  expect_absent "$MARK"
  local shot stage red white text steps=("${DIALOG[@]}" enter gone "${STAGE[@]}")
  for stage in 1 2; do
    shot="$E2E_DIR/stage-$stage.png"
    [ "$stage" = 2 ] && steps+=(gone "${STAGE[@]}")
    rm -rf "$DEST"
    start_stub "$SET/SETUP.EXE"
    drive --shot "$shot" "${steps[@]}" partway
    drive box Setup ok
    finish_stub
    expect_success
    read -r red white text < <(bar_colours "$shot")
    [ "$red" -gt 50 ] && [ "$white" -gt 50 ] && [ "$text" -gt 20 ] ||
      fail "stage $stage: the bar has $red red, $white white and $text percentage pixels"
    if [ -n "${DISKSPAN_SHOTS:-}" ]; then cp "$shot" "$DISKSPAN_SHOTS/"; fi
  done
}

# A Compress.Spt of the user's that cannot be replaced fails the run (not
# as a Cancel), kept; Split.Spt is deleted. An existing file is asked about
# by name: No keeps it, Yes replaces it; if it cannot be created, Retry
# works once it is free, Ignore installs the rest and names it (exit 2),
# Abort ends as terminated.
existing_files() {
  local name answer
  for name in KEEP NEW LOCKED; do add_text "$name.TXT" new; done
  pack_for 'E2E\OVER'
  mkdir -p "$DEST"
  printf 'mine\r\n' >"$DEST/Compress.Spt"
  make_immutable "$DEST/Compress.Spt"
  install_set box Setup ok
  expect_failure "Cannot create $DEST_WIN\\Compress.Spt: access is denied."
  expect_absent "$DEST/Split.Spt" "$DEST/README.TXT"
  [ "$(cat "$DEST/Compress.Spt")" = $'mine\r' ] || fail "the user's Compress.Spt was changed"
  chattr -i "$DEST/Compress.Spt"; rm "$DEST/Compress.Spt"

  printf 'old\r\n' >"$DEST/LOCKED.TXT"
  make_immutable "$DEST/LOCKED.TXT"
  start_stub "$SET/SETUP.EXE"
  drive "${DIALOG[@]}" enter gone box LOCKED.TXT yes see Setup
  chattr -i "$DEST/LOCKED.TXT"
  drive box Setup retry box Setup ok
  finish_stub
  expect_line "seen \"Setup\" text \"Cannot create $DEST_WIN\\LOCKED.TXT: access is denied.\""
  expect_success

  printf 'old\r\n' >"$DEST/LOCKED.TXT"
  # Wine lets root write a file without write permission, not an immutable one.
  chmod a-w "$DEST/LOCKED.TXT"
  make_immutable "$DEST/LOCKED.TXT"
  for answer in ignore abort; do
    rm "$DEST/README.TXT"
    for name in KEEP NEW; do printf 'old\r\n' >"$DEST/$name.TXT"; done
    install_set box KEEP.TXT no box NEW.TXT yes box LOCKED.TXT yes box Setup "$answer" box Setup ok
    if [ "$answer" = abort ]; then expect_terminated; else
      expect_line "box \"Setup\" text \"Not all files could be installed into directory\n$DEST_WIN\nThese were left out:\nLOCKED.TXT\" answer ok"
      expect_exit 2
    fi
    expect_line 'box "KEEP.TXT" text "File already exists, Overwrite?" answer no'
    for name in KEEP LOCKED; do [ "$(cat "$DEST/$name.TXT")" = $'old\r' ] || fail "$name.TXT was replaced"; done
    for name in NEW README; do expect_same "$E2E_DIR/files/$name.TXT" "$DEST/$name.TXT"; done
    expect_no_temporaries "$DEST"
  done
}

# Entries the packer refuses: with checksums, any change makes a damaged
# installer. Without, the last entry climbing out of DestDir, naming a
# device or a temporary, or outside the decoded stream makes a damaged set,
# found before the destination dialog (which would hold up the run).
crafted_entries() {
  add_text XXCRAFTED.TXT crafted
  pack_for 'E2E\CRAFTED\IN'
  patch_entry "$SET/SETUP.EXE" XXCRAFTED.TXT name '..\ESCAPE.TXT'
  run_stub "$SET/SETUP.EXE" box Setup ok
  expect_failure "The installer is damaged (get a good copy of disk 1): $(win_path "$SET/SETUP.EXE")."
  expect_absent "$(c_path 'E2E\CRAFTED')"
  pack_for 'E2E\CRAFTED\IN' --no-checksums
  cp "$SET/SETUP.EXE" "$E2E_DIR/SETUP.EXE"
  # FIELD VALUE pairs, each patched into a fresh copy.
  set -- name '..\ESCAPE.TXT' name 'NUL .TXT' name 'CON .TXT' name COM1 name LPT1.DOC \
    name COMPRESS.SPT name split.spt size 100000 offset -5 size -1
  while [ $# -gt 0 ]; do
    cp "$E2E_DIR/SETUP.EXE" "$SET/SETUP.EXE"
    patch_entry "$SET/SETUP.EXE" XXCRAFTED.TXT "$1" "$2"
    shift 2
    run_stub "$SET/SETUP.EXE" box Setup ok
    expect_failure "The installation disks are damaged or do not belong together."
    expect_absent "$(c_path 'E2E\CRAFTED')"
  done
}

# A folder of 200 files in three levels, long names with spaces: all
# installed; the file to start, in a folder, starts (within ten seconds).
folder_tree() {
  local tree=$E2E_DIR/tree k f
  mkdir -p "$tree/bin" "$tree/docs/bash"
  printf '@echo started > "%s"\r\n' "$(win_path "$MARK")" >"$tree/bin/RUN.BAT"
  for k in $(seq -w 1 66); do
    noise $((10#$k * 37)) "$k" >"$tree/bin/Tool Program $k.exe"
    printf 'page %s\r\n' "$k" >"$tree/docs/Manual Page $k.txt"
    printf 'complete %s\r\n' "$k" >"$tree/docs/bash/Completion Script $k.sh"
  done
  printf 'first\r\n' >"$tree/docs/Read Me First.txt"
  k=0
  while IFS= read -r f; do touch -d "@$((1046512800 + k * 3607))" "$f"; k=$((k + 1)); done \
    < <(find "$tree" -type f)
  EXTRA_FILES=("$tree")
  pack_for 'E2E\TREE' --launch bin/RUN.BAT
  install_set box Setup ok
  expect_success
  diff -r --exclude=README.TXT "$tree" "$DEST" >/dev/null || fail "the installed tree differs"
  for _ in $(seq 50); do [ -e "$MARK" ] && return 0; sleep 0.2; done
  fail "bin\\RUN.BAT never started"
}

# Code page 932 names with second bytes 5C (\) and 7C (|), one a folder.
double_byte_names() {
  mkdir -p "$E2E_DIR/jp/表"
  printf 'soft\r\n' >"$E2E_DIR/jp/ソフト.TXT"
  printf 'table\r\n' >"$E2E_DIR/jp/表/翻.TXT"
  EXTRA_FILES=("$E2E_DIR/jp")
  pack_for 'E2E\DBCS' --codepage 932
  LC_ALL=ja_JP.UTF-8 install_set box Setup ok
  expect_success
}

damaged_text() { printf 'Disk number %s is damaged or belongs to another set.\\nPlease insert a good copy of disk number %s and choose Retry.' "$1" "$1"; }

# Sets from a stub built before checksums, and without checksums, install.
# Without, a volume cut short, a volume 2 of another set (every volume 2
# fills its disk) or a last one running on past the set's size is found by
# the stream's own checks. With, a damaged byte on each disk in turn, then
# a volume 2 of another set, is named: Retry with the good copy installs.
damaged_volumes() {
  local good="$E2E_DIR/good" other="$E2E_DIR/other" damage disk
  DISKSPAN_STUB=$DISKSPAN_OLD_STUB pack_three_volumes 'E2E\DAMAGED'
  install_set box Setup ok
  expect_success
  mv "$SET" "$other"
  mkdir -p "$good"
  EXTRA_FILES=()
  pack_three_volumes 'E2E\DAMAGED' --no-checksums
  install_set box Setup ok
  expect_success
  cp "$SET"/SETUP.0? "$good/"
  for damage in short foreign long; do
    cp "$good"/SETUP.0? "$SET/"
    case $damage in
      short) head -c -100 "$good/SETUP.03" >"$SET/SETUP.03" ;;
      foreign) cp "$other/SETUP.02" "$SET/" ;;
      long) noise 5000 1 >>"$SET/SETUP.03" ;;
    esac
    rm -rf "$DEST"
    install_set box Setup ok
    expect_failure "The installation disks are damaged or do not belong together."
    expect_nothing_installed "$DEST"
  done
  EXTRA_FILES=()
  pack_three_volumes 'E2E\DAMAGED'
  cp "$SET"/SETUP.0? "$good/"
  for disk in 1 2 3; do
    rm -rf "$DEST"
    # One byte in the middle changed; the size stays.
    python3 -c 'import sys; p = sys.argv[1]; d = bytearray(open(p, "rb").read()); d[len(d) // 2] ^= 0x5A; open(p, "wb").write(d)' \
      "$SET/SETUP.0$disk"
    start_stub "$SET/SETUP.EXE"
    drive "${DIALOG[@]}" enter gone see Setup
    cp "$good/SETUP.0$disk" "$SET/"
    drive box Setup retry box Setup ok
    finish_stub
    expect_line "seen \"Setup\" text \"$(damaged_text "$disk")\""
    expect_success
  done
  rm -rf "$DEST"
  cp "$other/SETUP.02" "$SET/"
  install_set box Setup cancel box Setup ok
  expect_line "box \"Setup\" text \"$(damaged_text 2)\" answer cancel"
  expect_terminated
  expect_nothing_installed "$DEST"
}

# A disk that fills: the file and reason are named, temporaries deleted.
disk_full() {
  local small="$E2E_DIR/small"
  mkdir -p "$small"
  mount -t tmpfs -o size=200k tmpfs "$small" || fail "cannot mount a 200 KB tmpfs for the full disk"
  MOUNTED+=("$small")
  map_drive f "$small"
  add_random DATA.BIN 400000
  pack_set "$SET" --title Setup --default-dir 'F:\'
  install_set box Setup ok
  expect_failure 'Cannot write F:\Split.Spt: the disk is full.'
  expect_no_temporaries "$small"
}

# Started from floppy drive A:, each disk put in write-protected when asked
# for (disk 3 as the wrong one).
floppy_drive() {
  local a="$E2E_DIR/drive-a" images="$E2E_DIR/images"
  add_random DATA.BIN 300000
  OUT=$images pack_for 'E2E\FLOPPY' --volume-size 160K --images
  [ -e "$images/DISK03.IMG" ] && [ ! -e "$images/DISK04.IMG" ] || fail "the set has not three disks"
  mkdir -p "$a"; map_drive a "$a"
  "$WINE" reg add 'HKLM\Software\Wine\Drives' /v a: /d floppy /f >/dev/null 2>&1
  insert_disk() {
    local n=${1/wrong/3} disk
    chattr -i "$a"/* 2>/dev/null || true
    rm -f "$a"/*
    mcopy -m -n -i "$(printf '%s/DISK%02d.IMG' "$images" "$n")" '::*' "$a/" || fail "cannot insert disk $n"
    for disk in "$a"/*; do chmod a-w "$disk"; make_immutable "$disk"; done
  }
  insert_disk 1
  prompted_install 'A:\SETUP.EXE' insert_disk
}

"$1"
echo "PASS: $1"
