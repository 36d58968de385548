#!/usr/bin/env bash
# End-to-end scenarios of the start and the destination dialog: the real
# stub, packed by diskspan-pack, run under Wine and driven from outside by
# diskspan-auto. Usage: destination.sh NAME
. "$(dirname "$0")/lib.sh"

# Enter on the shown default accepts it and creates it.
default_accepted() {
  pack_for 'E2E\DEFAULT\APPS'
  run_stub "$SET/SETUP.EXE" wait Installation "${DIALOG[@]}" focus read 104 enter gone \
    box Setup ok
  expect_line 'window "Installation" class RizorOvuDe'
  expect_line 'window "Destination Directory" class #32770'
  expect_line 'focus 1'
  expect_line 'field 104 "C:\E2E\DEFAULT\APPS"'
  expect_success
}

# A typed destination is upper-cased by the field and created level by level.
edited_destination() {
  rm -rf "$(c_path 'E2E\A')"
  pack_set "$SET" --title "Setup"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" type 104 'c:\e2e\a\b\c' read 104 press 1 gone \
    box Setup ok
  expect_line 'field 104 "C:\E2E\A\B\C"'
  DEST_WIN='C:\E2E\A\B\C' DEST=$(c_path 'E2E\A\B\C') expect_success
}

# Entries of the wrong form, a directory on a missing drive, a letter with no
# drive behind it and a wildcard each beep and keep the dialog open (the
# helper's "still" fails otherwise); nothing is made, also not for C:X, which
# would lie in whatever directory is current on drive C:. A lower-case drive
# letter cannot reach the check: the field upper-cases whatever is put into
# it. Cancel asks first, captioned with the title: No keeps the dialog, Yes
# ends the run as terminated.
wrong_entries_kept_open() {
  local entry steps=()
  rm -rf "$(c_path 'X')" "$(c_path 'E2E\LOWER')"
  pack_set "$SET" --title "Demo Suite"
  for entry in '1:\X' '\\SERVER\X' '' 'C' 'C:X' 'Q:\A' 'Q:\' 'C:\TMP*'; do
    steps+=(set 104 "$entry" press 1 still 800)
  done
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" "${steps[@]}" set 104 'c:\e2e\lower' read 104 \
    press 2 box "Exit Demo Suite" no still 800 press 2 box "Exit Demo Suite" yes gone box "Demo Suite" ok
  expect_line 'field 104 "C:\E2E\LOWER"'
  TITLE="Demo Suite" expect_terminated
  expect_absent "$(c_path 'X')" "$(c_path 'E2E\LOWER')"
}

# A run cancelled in the destination dialog created nothing, so it deletes
# nothing: files of the user's named like the temporaries stay in the stub's
# own directory (DestDir is still that directory). It starts nothing,
# whatever lies there under the name of the file to start.
cancel_keeps_users_files() {
  add_launcher
  pack_set "$SET" --title "Setup" --launch RUN.BAT
  printf 'mine\r\n' >"$SET/Split.Spt"
  printf 'mine too\r\n' >"$SET/Compress.Spt"
  cp "$E2E_DIR/files/RUN.BAT" "$SET/RUN.BAT"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" press 2 box "Exit Setup" yes box Setup ok
  expect_terminated
  [ "$(cat "$SET/Split.Spt")" = $'mine\r' ] || fail "the user's Split.Spt was changed or deleted"
  [ "$(cat "$SET/Compress.Spt")" = $'mine too\r' ] || fail "the user's Compress.Spt was changed or deleted"
  sleep 2
  expect_absent "$MARK"
}

# A stub with no block appended reads its own last bytes as the trailer,
# whatever they hold (the title and default are then arbitrary bytes), and
# it must still work: match bytes, not text.
bare_stub() {
  mkdir -p "$SET"
  cp "$DISKSPAN_STUB" "$SET/BARE.EXE"
  run_stub "$SET/BARE.EXE" "${DIALOG[@]}" read 104 press 2 box '*' yes box '*' ok
  LC_ALL=C grep -q "^box \"Exit .*\" $CONFIRM answer yes\$" "$LOG" || fail "no confirmation"
  LC_ALL=C grep -q "^box \".*\" $TERMINATED\$" "$LOG" || fail "no final message"
  expect_exit_zero
}

# The screen as the user sees it: the gradient row by row, and the dialog
# centred by the start-up screen size (640 x 480 here).
screenshot() {
  pack_set "$SET" --title "Setup" --top-colour blue --bottom-colour black --title-colour white
  local shot="$E2E_DIR/screen.png" x y want left top width height
  start_stub "$SET/SETUP.EXE"
  drive "${DIALOG[@]}" rect sleep 500
  import -window root "$shot"
  drive "${DIALOG[@]}" press 2 box "Exit Setup" yes box Setup ok
  finish_stub
  expect_exit_zero
  # Blue from FF down by one a row, then black.
  blue_at() { printf '0000%02X' $(($1 <= 254 ? 255 - $1 : 0)); }
  for x in 5 639; do
    y=0
    while read -r got; do
      [ "${got^^}" = "$(blue_at "$y")" ] || fail "column $x row $y is $got, not $(blue_at "$y")"
      y=$((y + 1))
    done < <(pixel_column "$shot" "$x")
    [ "$y" = 480 ] || fail "the screen has $y rows"
  done
  read -r left top width height < <(sed -n 's/^rect "Destination Directory" //p' "$LOG")
  [ "$left" = $((320 - width / 2)) ] || fail "dialog left $left for width $width"
  [ "$top" = $((240 - height / 2)) ] || fail "dialog top $top for height $height"
  # Just outside the frame the gradient shows; on the frame it does not.
  y=$((top + height / 2))
  want=$(blue_at "$y")
  [ "$(pixel "$shot" $((left - 1)) "$y")" = "$want" ] || fail "left of the dialog"
  [ "$(pixel "$shot" "$left" "$y")" != "$want" ] || fail "no dialog frame at $left"
  [ "$(pixel "$shot" $((left + width)) "$y")" = "$want" ] || fail "right of the dialog"
}

"$1"
echo "PASS: $1"
