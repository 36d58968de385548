#!/usr/bin/env bash
# End-to-end scenarios of the stages: reassembly, decoding, extraction and
# launch, with the real stub under Wine driven by diskspan-auto.
# Usage: stages.sh NAME
. "$(dirname "$0")/lib.sh"

STAGE=(wait "Please Stand By...")

# A set of three volumes whatever the stub's size (up to 150 KB): README.TXT,
# random data, text and an empty file, with known dates.
pack_three_volumes() {
  add_random DATA.BIN 500000
  add_text NUMBERS.TXT "$(seq 1 3000)"
  add_text EMPTY.TXT ""
  : >"$E2E_DIR/files/EMPTY.TXT"
  touch -d '2000-04-23 20:44:44' "$E2E_DIR/files/DATA.BIN"
  touch -d '1999-12-31 23:59:58' "$E2E_DIR/files/NUMBERS.TXT"
  pack_set "$SET" --title Setup --default-dir 'C:\E2E\STAGES' --volume-size 220000 "$@"
  [ -e "$SET/SETUP.03" ] && [ ! -e "$SET/SETUP.04" ] || fail "the set has not three volumes"
  rm -rf "$(c_path 'E2E\STAGES')"
}

# A set that takes a while: about 10 MB that does not compress, 1.44 MB disks.
pack_large() {
  add_random BIG.BIN 10000000
  pack_set "$SET" --title Setup --default-dir 'C:\E2E\LARGE' "$@"
  rm -rf "$(c_path 'E2E\LARGE')"
}

# All volumes beside the stub: no prompt. DestDir is shown exactly as
# entered, with a trailing backslash or as a bare drive.
three_volumes() {
  pack_three_volumes
  local d="$E2E_DIR/drive-d" e="$E2E_DIR/drive-e"
  mkdir -p "$d" "$e"
  map_drive d "$d"
  map_drive e "$e"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" set 104 'D:\APPS\' press 1 gone box Setup ok
  expect_line "box \"Setup\" $INSTALLED\\nD:\\APPS\\\" answer ok"
  expect_exit_zero
  expect_installed "$d/APPS"
  expect_no_temporaries "$d/APPS"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" set 104 'E:' press 1 gone box Setup ok
  expect_line "box \"Setup\" $INSTALLED\\nE:\" answer ok"
  expect_installed "$e"
  expect_no_temporaries "$e"
}

# Volumes 2 and 3 arrive on request; a wrong disk is answered and asked again.
disk_prompts() {
  pack_three_volumes
  mkdir -p "$E2E_DIR/away"
  mv "$SET/SETUP.02" "$SET/SETUP.03" "$E2E_DIR/away/"
  start_stub "$SET/SETUP.EXE"
  drive "${DIALOG[@]}" enter gone see Setup
  drive box Setup ok box "" ok see Setup
  mv "$E2E_DIR/away/SETUP.02" "$SET/"
  drive box Setup ok see Setup
  mv "$E2E_DIR/away/SETUP.03" "$SET/"
  drive box Setup ok box Setup ok
  finish_stub
  expect_line 'seen "Setup" text "Please Insert Disk number 2"'
  expect_line 'box "" text "This is not the appropriate disk.\nPlease insert the correct disk and Press Enter" answer ok'
  expect_line 'seen "Setup" text "Please Insert Disk number 3"'
  [ "$(grep -c '^box "Setup" text "Please Insert Disk number 2" answer ok$' "$LOG")" = 2 ] ||
    fail "disk 2 was not asked for twice"
  expect_line "box \"Setup\" $INSTALLED\\nC:\\E2E\\STAGES\" answer ok"
  expect_exit_zero
  expect_installed "$(c_path 'E2E\STAGES')"
}

# Cancel at a disk prompt ends the run at once, without a confirmation.
cancel_at_prompt() {
  pack_three_volumes
  rm "$SET/SETUP.02"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box Setup cancel box Setup ok
  expect_line 'box "Setup" text "Please Insert Disk number 2" answer cancel'
  expect_line "box \"Setup\" $TERMINATED"
  expect_exit_zero
  expect_nothing_installed "$(c_path 'E2E\STAGES')"
}

# Cancel confirmed while the volumes are copied: nothing is installed, the
# temporaries are gone, and the file to start is started all the same when
# a copy is already there.
cancel_reassembly() {
  add_launcher
  pack_large --launch RUN.BAT
  mkdir -p "$(c_path 'E2E\LARGE')"
  cp "$E2E_DIR/files/RUN.BAT" "$(c_path 'E2E\LARGE\RUN.BAT')"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone "${STAGE[@]}" press 2 texts \
    box "Exit Setup" yes box Setup ok
  expect_line 'texts "Please Stand By..." "frame" "Installing the files."'
  expect_line "box \"Exit Setup\" $CONFIRM answer yes"
  expect_line "box \"Setup\" $TERMINATED"
  expect_exit_zero
  expect_nothing_installed "$(c_path 'E2E\LARGE')"
  # An aborted run starts nothing, not even a file of that name already there.
  sleep 2
  expect_absent "$MARK"
}

# Cancel confirmed while decoding; No first lets the stage go on.
cancel_decoding() {
  pack_large
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone "${STAGE[@]}" gone "${STAGE[@]}" \
    press 2 box "Exit Setup" no press 2 texts box "Exit Setup" yes box Setup ok
  expect_line 'texts "Please Stand By..." "frame" "Uncompressing the files:"'
  expect_line "box \"Exit Setup\" $CONFIRM answer no"
  expect_line "box \"Setup\" $TERMINATED"
  expect_exit_zero
  expect_nothing_installed "$(c_path 'E2E\LARGE')"
}

# Existing files: No keeps one, Yes replaces one, and a read-only one that
# cannot be replaced after Yes is asked about and stays as it was. The
# question is captioned with the bare name.
overwrite() {
  local dest
  dest=$(c_path 'E2E\OVER')
  rm -rf "$dest"
  mkdir -p "$dest"
  add_text KEEP.TXT new
  add_text NEW.TXT new
  add_text LOCKED.TXT new
  pack_set "$SET" --title Setup --default-dir 'C:\E2E\OVER'
  for name in KEEP NEW LOCKED; do printf 'old\r\n' >"$dest/$name.TXT"; done
  # Wine shows a file without write permission as read-only, but lets root
  # write it all the same; immutable, it refuses the creation as Windows
  # refuses a read-only file. Cancel at the question that follows ends the
  # run as terminated.
  chmod a-w "$dest/LOCKED.TXT"
  chattr +i "$dest/LOCKED.TXT" || fail "cannot make LOCKED.TXT immutable"
  IMMUTABLE+=("$dest/LOCKED.TXT")
  local before
  before=$(stat -c %Y "$dest/LOCKED.TXT")
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box KEEP.TXT no box NEW.TXT yes \
    box LOCKED.TXT yes box Setup cancel box Setup ok
  expect_line 'box "KEEP.TXT" text "File already exists, Overwrite?" answer no'
  expect_line "box \"Setup\" $TERMINATED"
  expect_exit_zero
  [ "$(cat "$dest/KEEP.TXT")" = $'old\r' ] || fail "KEEP.TXT was replaced"
  [ "$(cat "$dest/LOCKED.TXT")" = $'old\r' ] || fail "LOCKED.TXT was replaced"
  [ "$(stat -c %Y "$dest/LOCKED.TXT")" = "$before" ] || fail "LOCKED.TXT was touched"
  [ "$(stat -c %a "$dest/LOCKED.TXT")" = 444 ] || fail "LOCKED.TXT is no longer read-only"
  expect_same "$E2E_DIR/files/NEW.TXT" "$dest/NEW.TXT"
  expect_same "$E2E_DIR/files/README.TXT" "$dest/README.TXT"
}

# The configured file starts after a successful installation.
launch_installed() {
  add_launcher
  pack_set "$SET" --title Setup --default-dir 'C:\E2E\LAUNCH' --launch RUN.BAT
  rm -rf "$(c_path 'E2E\LAUNCH')"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box Setup ok
  expect_line "box \"Setup\" $INSTALLED\\nC:\\E2E\\LAUNCH\" answer ok"
  wait_for_file "$MARK"
}

# Volume 1 missing: the run ends silently before Split.Spt is made.
volume_one_missing() {
  pack_three_volumes
  rm "$SET/SETUP.01"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box Setup ok
  expect_failure "Cannot open $(win_path "$SET/SETUP.01"): it is not there."
  expect_absent "$(c_path 'E2E\STAGES\Split.Spt')"
}

# Entries the packer would refuse: a name that climbs out of DestDir is
# skipped; an entry reaching past the decoded stream is not left truncated
# and ends the run as terminated.
crafted_entries() {
  local dest
  dest=$(c_path 'E2E\CRAFTED\IN')
  add_text XXESCAPE.TXT escape
  add_text SHORT.TXT short
  pack_set "$SET" --title Setup --default-dir 'C:\E2E\CRAFTED\IN'
  patch_entry "$SET/SETUP.EXE" XXESCAPE.TXT name '..\ESCAPE.TXT'
  rm -rf "$(c_path 'E2E\CRAFTED')"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box Setup ok
  expect_failure 'Cannot install ..\ESCAPE.TXT: the name is not allowed.'
  expect_absent "$(c_path 'E2E\CRAFTED\ESCAPE.TXT')"
  expect_absent "$dest/..\\ESCAPE.TXT"
  expect_absent "$dest/SHORT.TXT"
  expect_no_temporaries "$dest"
  patch_entry "$SET/SETUP.EXE" '..\ESCAPE.TXT' name XXESCAPE.TXT

  patch_entry "$SET/SETUP.EXE" SHORT.TXT size 100000
  rm -rf "$(c_path 'E2E\CRAFTED')"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box Setup ok
  expect_line "box \"Setup\" $TERMINATED"
  expect_absent "$dest/SHORT.TXT"
  expect_same "$E2E_DIR/files/README.TXT" "$dest/README.TXT"
  expect_no_temporaries "$dest"

  patch_entry "$SET/SETUP.EXE" SHORT.TXT size 7
  patch_entry "$SET/SETUP.EXE" SHORT.TXT offset -5
  rm -rf "$(c_path 'E2E\CRAFTED')"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box Setup ok
  expect_line "box \"Setup\" $TERMINATED"
  expect_absent "$dest/SHORT.TXT"
}

# One run stopped in a stage for a screenshot: shoot_stage PNG STAGE-NUMBER MS
shoot_stage() {
  local steps=("${DIALOG[@]}" enter gone "${STAGE[@]}")
  [ "$2" = 2 ] && steps+=(gone "${STAGE[@]}")
  rm -rf "$(c_path 'E2E\LARGE')"
  start_stub "$SET/SETUP.EXE"
  drive_with_screenshot "$1" "${steps[@]}" sleep "$3"
  drive box Setup ok
  finish_stub
  expect_exit_zero
}

# The red and white bar with its percentage, in both stages: the helper
# stops the stub's thread while the screen is taken. What reaches the screen
# depends on when Wine last copied the dialog out, so a shot that shows no
# bar yet is taken again a little later; one missed because the stage had
# already ended is taken again sooner.
stage_screenshots() {
  pack_large
  local shot stage red white text wait_ms
  for stage in 1 2; do
    shot="$E2E_DIR/stage-$stage.png"
    for wait_ms in 100 30 160 10; do
      shoot_stage "$shot" "$stage" "$wait_ms"
      red=0 white=0 text=0
      [ -e "$shot" ] && read -r red white text < <(bar_colours "$shot" 2>/dev/null)
      echo "stage $stage after $wait_ms ms: red $red, white $white, percentage $text pixels"
      [ "$red" -gt 50 ] && [ "$white" -gt 50 ] && break
    done
    [ "$red" -gt 50 ] || fail "stage $stage: no red part in the bar"
    [ "$white" -gt 50 ] || fail "stage $stage: no white part in the bar"
    [ "$text" -gt 20 ] || fail "stage $stage: no percentage on the bar"
    if [ -n "${DISKSPAN_SHOTS:-}" ]; then cp "$shot" "$DISKSPAN_SHOTS/"; fi
  done
}


# Volumes that cannot be opened for writing install: a write-protected disk
# (an immutable file here) and a read-only copy.
read_only_volumes() {
  pack_three_volumes
  chmod a-w "$SET/SETUP.01"
  chattr +i "$SET/SETUP.02" || fail "cannot make SETUP.02 immutable"
  IMMUTABLE+=("$SET/SETUP.02")
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box Setup ok
  expect_line "box \"Setup\" $INSTALLED\\nC:\\E2E\\STAGES\" answer ok"
  expect_exit_zero
  expect_installed "$(c_path 'E2E\STAGES')"
}

# A volume cut short, and one of the right size from another set, in sets
# without checksums: the stream's own checks find the set damaged, nothing
# is installed and no temporary is left.
damaged_sets() {
  local dest other="$E2E_DIR/other"
  dest=$(c_path 'E2E\STAGES')
  pack_three_volumes --no-checksums
  mv "$SET" "$other"  # another set, with random data of its own
  EXTRA_FILES=()
  pack_three_volumes --no-checksums
  cp "$SET/SETUP.03" "$E2E_DIR/SETUP.03"
  head -c -100 "$E2E_DIR/SETUP.03" >"$SET/SETUP.03"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box Setup ok
  expect_failure "The installation disks are damaged or do not belong together."
  expect_nothing_installed "$dest"

  # Every volume 2 fills its disk, so the other set's has the same size.
  cp "$E2E_DIR/SETUP.03" "$SET/SETUP.03"
  cp "$other/SETUP.02" "$SET/SETUP.02"
  rm -rf "$dest"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box Setup ok
  expect_failure "The installation disks are damaged or do not belong together."
  expect_nothing_installed "$dest"
}

# An installed file that cannot be created is asked about, not skipped:
# Retry succeeds once it is free, Cancel ends the run as terminated.
entry_unwritable() {
  local dest
  dest=$(c_path 'E2E\HELD')
  rm -rf "$dest"
  mkdir -p "$dest"
  add_text HELD.TXT new
  pack_set "$SET" --title Setup --default-dir 'C:\E2E\HELD'
  : >"$dest/HELD.TXT"
  chattr +i "$dest/HELD.TXT" || fail "cannot make HELD.TXT immutable"
  IMMUTABLE+=("$dest/HELD.TXT")
  start_stub "$SET/SETUP.EXE"
  drive "${DIALOG[@]}" enter gone box HELD.TXT yes see Setup
  chattr -i "$dest/HELD.TXT"
  drive box Setup retry box Setup ok
  finish_stub
  expect_line "seen \"Setup\" text \"Cannot create C:\\E2E\\HELD\\HELD.TXT: access is denied.\""
  expect_line "box \"Setup\" $INSTALLED\\nC:\\E2E\\HELD\" answer ok"
  expect_exit_zero
  expect_same "$E2E_DIR/files/HELD.TXT" "$dest/HELD.TXT"

  chattr +i "$dest/HELD.TXT"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box README.TXT yes box HELD.TXT yes \
    box Setup cancel box Setup ok
  chattr -i "$dest/HELD.TXT"
  expect_line "box \"Setup\" $TERMINATED"
  expect_exit_zero
  expect_no_temporaries "$dest"
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
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" enter gone box Setup ok
  expect_failure 'Cannot write F:\Split.Spt: the disk is full.'
  expect_no_temporaries "$small"
}

# Takes the disk out of drive A: and puts disk N of the set's images in,
# write-protected as distribution disks were.  insert_disk IMAGES A-DIR N
insert_disk() {
  local disk
  if compgen -G "$2/*" >/dev/null; then
    chattr -i "$2"/* 2>/dev/null || true
    rm -f "$2"/*
  fi
  mcopy -m -n -i "$(printf '%s/DISK%02d.IMG' "$1" "$3")" '::*' "$2/" || fail "cannot insert disk $3"
  for disk in "$2"/*; do
    chmod a-w "$disk"
    chattr +i "$disk" || fail "cannot write-protect $disk"
    IMMUTABLE+=("$disk")
  done
}

# The install as a user did it: SETUP.EXE started from the floppy drive A:,
# each further disk put in when asked for, once the wrong one first.
floppy_drive() {
  local a="$E2E_DIR/drive-a" images="$E2E_DIR/images" dest
  dest=$(c_path 'E2E\FLOPPY')
  rm -rf "$dest"
  add_random DATA.BIN 300000
  pack_set "$images" --title Setup --default-dir 'C:\E2E\FLOPPY' --volume-size 160K --images
  [ -e "$images/DISK03.IMG" ] && [ ! -e "$images/DISK04.IMG" ] || fail "the set has not three disks"
  mkdir -p "$a"
  map_drive a "$a"
  "$WINE" reg add 'HKLM\Software\Wine\Drives' /v a: /d floppy /f >/dev/null 2>&1
  insert_disk "$images" "$a" 1
  start_stub 'A:\SETUP.EXE'
  drive "${DIALOG[@]}" enter gone see Setup
  insert_disk "$images" "$a" 3
  drive box Setup ok box "" ok see Setup
  insert_disk "$images" "$a" 2
  drive box Setup ok see Setup
  insert_disk "$images" "$a" 3
  drive box Setup ok box Setup ok
  finish_stub
  expect_line 'seen "Setup" text "Please Insert Disk number 2"'
  expect_line 'box "" text "This is not the appropriate disk.\nPlease insert the correct disk and Press Enter" answer ok'
  expect_line 'seen "Setup" text "Please Insert Disk number 3"'
  expect_line "box \"Setup\" $INSTALLED\\nC:\\E2E\\FLOPPY\" answer ok"
  expect_exit_zero
  expect_installed "$dest"
}

"$1"
echo "PASS: $1"
