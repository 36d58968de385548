#!/usr/bin/env bash
# End-to-end scenarios of the stages: reassembly, decoding, extraction and
# launch, with the real stub under Wine driven by diskspan-auto.
# Usage: stages.sh NAME
. "$(dirname "$0")/lib.sh"

STAGE=(wait "Please Stand By...")

# A set that takes a while: about 10 MB that does not compress, 1.44 MB disks.
pack_large() {
  add_random BIG.BIN 10000000
  pack_for 'E2E\LARGE' "$@"
}

# All volumes beside the stub: no prompt. DestDir is shown exactly as
# entered, with a trailing backslash or as a bare drive. Volumes that cannot
# be opened for writing install: a write-protected disk (an immutable file
# here) and a read-only copy.
three_volumes() {
  pack_three_volumes 'E2E\STAGES'
  chmod a-w "$SET/SETUP.01"
  make_immutable "$SET/SETUP.02"
  mkdir -p "$E2E_DIR/drive-d" "$E2E_DIR/drive-e"
  map_drive d "$E2E_DIR/drive-d"
  map_drive e "$E2E_DIR/drive-e"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" set 104 'D:\APPS\' press 1 gone box Setup ok
  DEST_WIN='D:\APPS\' DEST=$E2E_DIR/drive-d/APPS expect_success
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" set 104 'E:' press 1 gone box Setup ok
  DEST_WIN='E:' DEST=$E2E_DIR/drive-e expect_success
}

# prompted_install EXE INSERT: disk 2 is asked for, a wrong disk refused and
# disk 2 asked for again, then disk 3; INSERT N puts disk N in (or wrong).
prompted_install() {
  start_stub "$1"
  drive "${DIALOG[@]}" enter gone see Setup
  "$2" wrong
  drive box Setup ok box "" ok see Setup
  "$2" 2
  drive box Setup ok see Setup
  "$2" 3
  drive box Setup ok box Setup ok
  finish_stub
  expect_line 'box "" text "This is not the appropriate disk.\nPlease insert the correct disk and Press Enter" answer ok'
  expect_line 'seen "Setup" text "Please Insert Disk number 3"'
  [ "$(grep -c '^box "Setup" text "Please Insert Disk number 2" answer ok$' "$LOG")" = 2 ] ||
    fail "disk 2 was not asked for twice"
  expect_success
}

# Volumes 2 and 3 are put beside the stub once they are asked for.
disk_prompts() {
  pack_three_volumes 'E2E\STAGES'
  mkdir -p "$E2E_DIR/away"
  mv "$SET/SETUP.02" "$SET/SETUP.03" "$E2E_DIR/away/"
  put_back() { [ "$1" = wrong ] || mv "$E2E_DIR/away/SETUP.0$1" "$SET/"; }
  prompted_install "$SET/SETUP.EXE" put_back
}

# Cancel at a disk prompt ends the run at once, without a confirmation.
cancel_at_prompt() {
  pack_three_volumes 'E2E\STAGES'
  rm "$SET/SETUP.02"
  install_set box Setup cancel box Setup ok
  expect_line 'box "Setup" text "Please Insert Disk number 2" answer cancel'
  expect_terminated
  expect_nothing_installed "$DEST"
}

# Cancel confirmed while the volumes are copied: nothing is installed, and
# nothing starts, not even a copy of the file to start already there.
cancel_reassembly() {
  add_launcher
  pack_large --launch RUN.BAT
  mkdir -p "$DEST"
  cp "$E2E_DIR/files/RUN.BAT" "$DEST/RUN.BAT"
  install_set "${STAGE[@]}" press 2 texts box "Exit Setup" yes box Setup ok
  expect_line 'texts "Please Stand By..." "frame" "Installing the files."'
  expect_terminated
  expect_nothing_installed "$DEST"
  sleep 2
  expect_absent "$MARK"
}

# Cancel confirmed while decoding; No first lets the stage go on.
cancel_decoding() {
  pack_large
  install_set "${STAGE[@]}" gone "${STAGE[@]}" press 2 box "Exit Setup" no press 2 texts \
    box "Exit Setup" yes box Setup ok
  expect_line 'texts "Please Stand By..." "frame" "Uncompressing the files:"'
  expect_terminated
  expect_nothing_installed "$DEST"
}

# Existing files: No keeps one, Yes replaces one, and a read-only one that
# cannot be replaced after Yes is asked about (Abort ends the run as
# terminated) and stays as it was. The question is captioned with the name.
overwrite() {
  for name in KEEP NEW LOCKED; do add_text "$name.TXT" new; done
  pack_for 'E2E\OVER'
  mkdir -p "$DEST"
  for name in KEEP NEW LOCKED; do printf 'old\r\n' >"$DEST/$name.TXT"; done
  # Wine lets root write a file without write permission, not an immutable one.
  chmod a-w "$DEST/LOCKED.TXT"
  make_immutable "$DEST/LOCKED.TXT"
  install_set box KEEP.TXT no box NEW.TXT yes box LOCKED.TXT yes box Setup abort box Setup ok
  expect_line 'box "KEEP.TXT" text "File already exists, Overwrite?" answer no'
  expect_terminated
  for name in KEEP LOCKED; do
    [ "$(cat "$DEST/$name.TXT")" = $'old\r' ] || fail "$name.TXT was replaced"
  done
  expect_same "$E2E_DIR/files/NEW.TXT" "$DEST/NEW.TXT"
  expect_same "$E2E_DIR/files/README.TXT" "$DEST/README.TXT"
}

# Volume 1 missing: the run ends silently before Split.Spt is made.
volume_one_missing() {
  pack_three_volumes 'E2E\STAGES'
  rm "$SET/SETUP.01"
  install_set box Setup ok
  expect_failure "Cannot open $(win_path "$SET/SETUP.01"): it is not there."
  expect_absent "$DEST/Split.Spt"
}

# Entries the packer refuses. In a set with checksums any changed entry
# makes a damaged installer, refused at start. In one without, the entry
# in the last place of the table: a name that climbs out of DestDir, that
# Windows reads as a device, that is a temporary's, and bytes outside the
# decoded stream. The whole table is checked before the destination
# dialog: a damaged set, nothing created.
crafted_entries() {
  add_text XXCRAFTED.TXT crafted
  pack_for 'E2E\CRAFTED\IN'
  patch_entry "$SET/SETUP.EXE" XXCRAFTED.TXT name '..\ESCAPE.TXT'
  run_stub "$SET/SETUP.EXE" box Setup ok
  expect_failure "The installer is damaged (get a good copy of disk 1): $(win_path "$SET/SETUP.EXE")."
  expect_absent "$(c_path 'E2E\CRAFTED')"
  pack_for 'E2E\CRAFTED\IN' --no-checksums
  local name=XXCRAFTED.TXT crafted
  crafted_run() {
    rm -rf "$(c_path 'E2E\CRAFTED')"
    run_stub "$SET/SETUP.EXE" box Setup ok
    expect_failure "The installation disks are damaged or do not belong together."
    ! grep -q '"Destination Directory"' "$LOG" || fail "the destination dialog opened"
    expect_absent "$(c_path 'E2E\CRAFTED')"
  }
  for crafted in '..\ESCAPE.TXT' 'NUL .TXT' 'CON .TXT' COM1 'LPT1.DOC' COMPRESS.SPT split.spt; do
    patch_entry "$SET/SETUP.EXE" "$name" name "$crafted"
    name=$crafted
    crafted_run
  done
  patch_entry "$SET/SETUP.EXE" "$name" name XXCRAFTED.TXT
  for range in 'size 100000' 'offset -5' 'size -1'; do
    cp "$SET/SETUP.EXE" "$E2E_DIR/SETUP.EXE"
    patch_entry "$SET/SETUP.EXE" XXCRAFTED.TXT $range
    crafted_run
    cp "$E2E_DIR/SETUP.EXE" "$SET/SETUP.EXE"
  done
}

# A program folder packed from its directory: 200 files in three levels,
# with spaces and long names, installed with every folder, byte and date;
# the file to start lies in a folder and starts (within ten seconds).
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
  [ "$k" = 200 ] || fail "the tree has $k files"
  EXTRA_FILES=("$tree")
  pack_for 'E2E\TREE' --launch bin/RUN.BAT
  install_set box Setup ok
  expect_line "box \"Setup\" $INSTALLED\\n$DEST_WIN\" answer ok"
  diff -r --exclude=README.TXT "$tree" "$DEST" >/dev/null || fail "the installed tree differs"
  while IFS= read -r f; do
    [ "$(stat -c %Y "$DEST/${f#"$tree"/}")" = $(($(stat -c %Y "$f") / 2 * 2)) ] || fail "$f has the wrong date"
  done < <(find "$tree" -type f)
  expect_no_temporaries "$DEST"
  for _ in $(seq 50); do [ -e "$MARK" ] && return 0; sleep 0.2; done
  fail "bin\\RUN.BAT never started"
}

# Names in code page 932 whose second bytes are 5C (\) and 7C (|), among
# them a folder, pack and install under that code page with the names they
# say.
double_byte_names() {
  mkdir -p "$E2E_DIR/jp/表"
  printf 'soft\r\n' >"$E2E_DIR/jp/ソフト.TXT"
  printf 'table\r\n' >"$E2E_DIR/jp/表/翻.TXT"
  EXTRA_FILES=("$E2E_DIR/jp")
  pack_for 'E2E\DBCS' --codepage 932
  LC_ALL=ja_JP.UTF-8 install_set box Setup ok
  expect_exit_zero
  expect_same "$E2E_DIR/jp/ソフト.TXT" "$DEST/ソフト.TXT"
  expect_same "$E2E_DIR/jp/表/翻.TXT" "$DEST/表/翻.TXT"
  expect_no_temporaries "$DEST"
}

# The red and white bar with its percentage, in both stages, while the stub's
# thread stands still: the helper freezes each stage as soon as it sees the
# bar partway on the screen, however fast or slow the machine is.
stage_screenshots() {
  pack_large
  local shot stage red white text steps=("${DIALOG[@]}" enter gone "${STAGE[@]}")
  for stage in 1 2; do
    shot="$E2E_DIR/stage-$stage.png"
    [ "$stage" = 2 ] && steps+=(gone "${STAGE[@]}")
    rm -rf "$DEST"
    start_stub "$SET/SETUP.EXE"
    drive_with_screenshot "$shot" "${steps[@]}" partway
    drive box Setup ok
    finish_stub
    expect_exit_zero
    [ -e "$shot" ] || fail "stage $stage: no screenshot"
    read -r red white text < <(bar_colours "$shot")
    echo "stage $stage: red $red, white $white, percentage $text pixels"
    [ "$red" -gt 50 ] || fail "stage $stage: no red part in the bar"
    [ "$white" -gt 50 ] || fail "stage $stage: no white part in the bar"
    [ "$text" -gt 20 ] || fail "stage $stage: no percentage on the bar"
    if [ -n "${DISKSPAN_SHOTS:-}" ]; then cp "$shot" "$DISKSPAN_SHOTS/"; fi
  done
}

# A volume cut short, and one of the right size from another set (every
# volume 2 fills its disk), in sets without checksums: the stream's own
# checks find the set damaged; nothing is installed, no temporary is left.
damaged_sets() {
  pack_three_volumes 'E2E\STAGES' --no-checksums
  mv "$SET" "$E2E_DIR/other"  # another set, with random data of its own
  EXTRA_FILES=()
  pack_three_volumes 'E2E\STAGES' --no-checksums
  cp "$SET/SETUP.03" "$E2E_DIR/SETUP.03"
  head -c -100 "$E2E_DIR/SETUP.03" >"$SET/SETUP.03"
  install_set box Setup ok
  expect_failure "The installation disks are damaged or do not belong together."
  expect_nothing_installed "$DEST"
  cp "$E2E_DIR/SETUP.03" "$E2E_DIR/other/SETUP.02" "$SET/"
  rm -rf "$DEST"
  install_set box Setup ok
  expect_failure "The installation disks are damaged or do not belong together."
  expect_nothing_installed "$DEST"
  # The last volume runs on past the set's size: refused as it passes it.
  cp "$E2E_DIR/SETUP.03" "$SET/SETUP.03"
  cp "$E2E_DIR/other/SETUP.02" "$E2E_DIR/SETUP.02"
  noise 5000 1 >>"$SET/SETUP.03"
  rm -rf "$DEST"
  install_set box Setup ok
  expect_failure "The installation disks are damaged or do not belong together."
  expect_nothing_installed "$DEST"
}

# An installed file that cannot be created is asked about (Abort, Retry,
# Ignore; Abort is in overwrite): Retry succeeds once it is free; Ignore
# installs the rest, and the final box names the file left out and where
# the others went (exit code 2).
entry_unwritable() {
  add_text HELD.TXT new
  pack_for 'E2E\HELD'
  mkdir -p "$DEST"
  : >"$DEST/HELD.TXT"
  make_immutable "$DEST/HELD.TXT"
  start_stub "$SET/SETUP.EXE"
  drive "${DIALOG[@]}" enter gone box HELD.TXT yes see Setup
  chattr -i "$DEST/HELD.TXT"
  drive box Setup retry box Setup ok
  finish_stub
  expect_line "seen \"Setup\" text \"Cannot create C:\\E2E\\HELD\\HELD.TXT: access is denied.\""
  expect_success

  printf 'old\r\n' >"$DEST/HELD.TXT"
  chattr +i "$DEST/HELD.TXT"
  rm "$DEST/README.TXT"
  install_set box HELD.TXT yes box Setup ignore box Setup ok
  chattr -i "$DEST/HELD.TXT"
  expect_line "box \"Setup\" text \"Not all files could be installed into directory\n$DEST_WIN\nThese were left out:\nHELD.TXT\" answer ok"
  [ "$STUB_EXIT" = 2 ] || fail "exit code $STUB_EXIT with a file left out"
  expect_same "$E2E_DIR/files/README.TXT" "$DEST/README.TXT"
  [ "$(cat "$DEST/HELD.TXT")" = $'old\r' ] || fail "HELD.TXT was written"
  expect_no_temporaries "$DEST"
}

# Compress.Spt that cannot be written (here a read-only file of that name
# the set cannot replace) ends the run with the failure box, not as a
# Cancel; the user's file stays, the run's own Split.Spt is deleted.
decoded_stream_unwritable() {
  pack_for 'E2E\NOSTREAM'
  mkdir -p "$DEST"
  printf 'mine\r\n' >"$DEST/Compress.Spt"
  make_immutable "$DEST/Compress.Spt"
  install_set box Setup ok
  expect_failure "Cannot create $DEST_WIN\\Compress.Spt: access is denied."
  expect_absent "$DEST/Split.Spt" "$DEST/README.TXT"
  [ "$(cat "$DEST/Compress.Spt")" = $'mine\r' ] || fail "the user's Compress.Spt was changed"
}

# A disk that fills during reassembly: the message names the file and the
# reason, and the temporaries are deleted.
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

# As a user did it: SETUP.EXE started from the floppy drive A:, each further
# disk put in, write-protected, when asked for (disk 3 as the wrong one).
floppy_drive() {
  local a="$E2E_DIR/drive-a" images="$E2E_DIR/images"
  add_random DATA.BIN 300000
  DEST_WIN='C:\E2E\FLOPPY' DEST=$(c_path 'E2E\FLOPPY')
  rm -rf "$DEST"
  pack_set "$images" --title Setup --default-dir "$DEST_WIN" --volume-size 160K --images
  [ -e "$images/DISK03.IMG" ] && [ ! -e "$images/DISK04.IMG" ] || fail "the set has not three disks"
  mkdir -p "$a"
  map_drive a "$a"
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
