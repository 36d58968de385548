#!/usr/bin/env bash
# End-to-end scenarios of the start and the destination dialog. Usage: destination.sh NAME
. "$(dirname "$0")/lib.sh"

# Enter accepts the shown default (the final box names the field's text); a
# typed destination is upper-cased by the field and created level by level.
default_or_typed_destination() {
  pack_for 'E2E\DEFAULT\APPS'
  run_stub "$SET/SETUP.EXE" wait Installation "${DIALOG[@]}" focus enter gone box Setup ok
  expect_line 'window "Installation" class RizorOvuDe' 'window "Destination Directory" class #32770' 'focus 1'
  expect_success
  rm -rf "$(c_path 'E2E\A')"
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" type 104 'c:\e2e\a\b\c' read 104 press 1 gone \
    box Setup ok
  expect_line 'field 104 "C:\E2E\A\B\C"'
  DEST_WIN='C:\E2E\A\B\C' DEST=$(c_path 'E2E\A\B\C') expect_success
}

# Entries of the wrong form, on a missing drive or with a wildcard keep the
# dialog open ("still" fails otherwise) and make nothing, not even C:X in
# drive C:'s current directory. The field upper-cases what is put in. Cancel
# asks first, captioned with the title: No keeps the dialog, Yes terminates.
wrong_entries_kept_open() {
  local entry steps=()
  rm -rf "$(c_path 'X')" "$(c_path 'E2E\LOWER')"
  pack_set "$SET" --title "Demo Suite"
  for entry in '1:\X' '\\SERVER\X' '' 'C' 'C:X' 'Q:\A' 'Q:\' 'C:\TMP*'; do steps+=(set 104 "$entry" press 1 still 800); done
  run_stub "$SET/SETUP.EXE" "${DIALOG[@]}" "${steps[@]}" set 104 'c:\e2e\lower' read 104 \
    press 2 box "Exit Demo Suite" no still 800 press 2 box "Exit Demo Suite" yes gone box "Demo Suite" ok
  expect_line 'field 104 "C:\E2E\LOWER"'
  TITLE="Demo Suite" expect_terminated
  expect_absent "$(c_path 'X')" "$(c_path 'E2E\LOWER')"
}

# A stub with no block reads its own last bytes as the trailer and still
# works (the title and default are arbitrary bytes: match bytes, not text).
bare_stub() {
  mkdir -p "$SET"; cp "$DISKSPAN_STUB" "$SET/BARE.EXE"
  run_stub "$SET/BARE.EXE" "${DIALOG[@]}" read 104 press 2 box '*' yes box '*' ok
  LC_ALL=C grep -q "^box \"Exit .*\" $CONFIRM answer yes\$" "$LOG" || fail "no confirmation"
  LC_ALL=C grep -q "^box \".*\" $TERMINATED\$" "$LOG" || fail "no final message"
  expect_exit 0
}

# The gradient row by row and the dialog centred on the 640 x 480 screen.
# Cancelled there, the run deletes nothing, not the user's files named like
# the temporaries beside the stub (DestDir is still there), and starts
# nothing, whatever lies there under the name of the file to start.
screenshot_and_cancel() {
  add_launcher
  pack_set "$SET" --title Setup --launch RUN.BAT --top-colour blue --bottom-colour black --title-colour white
  local shot="$E2E_DIR/screen.png" x y want left top width height name
  for name in Split Compress; do printf '%s\r\n' "$name mine" >"$SET/$name.Spt"; done
  cp "$E2E_DIR/files/RUN.BAT" "$SET/RUN.BAT"
  start_stub "$SET/SETUP.EXE"
  drive "${DIALOG[@]}" rect sleep 500
  import -window root "$shot"
  drive "${DIALOG[@]}" press 2 box "Exit Setup" yes box Setup ok
  finish_stub
  expect_terminated
  for name in Split Compress; do
    [ "$(cat "$SET/$name.Spt")" = "$name mine"$'\r' ] || fail "the user's $name.Spt was changed or deleted"
  done
  # Blue from FF down by one a row, then black.
  blue_at() { printf '0000%02X' $(($1 <= 254 ? 255 - $1 : 0)); }
  for x in 5 639; do
    diff <(pixel_column "$shot" "$x" | tr a-f A-F) <(for y in {0..479}; do blue_at "$y"; echo; done) >&2 ||
      fail "column $x is not the gradient on 480 rows"
  done
  read -r left top width height < <(sed -n 's/^rect "Destination Directory" //p' "$LOG")
  [ "$left $top" = "$((320 - width / 2)) $((240 - height / 2))" ] || fail "dialog at $left $top, size $width $height"
  # Just outside the frame the gradient shows; on the frame it does not.
  y=$((top + height / 2))
  want=$(blue_at "$y")
  [ "$(pixel "$shot" $((left - 1)) "$y")" = "$want" ] || fail "left of the dialog"
  [ "$(pixel "$shot" "$left" "$y")" != "$want" ] || fail "no dialog frame at $left"
  [ "$(pixel "$shot" $((left + width)) "$y")" = "$want" ] || fail "right of the dialog"
  sleep 2
  expect_absent "$MARK"
}

"$1"
echo "PASS: $1"
