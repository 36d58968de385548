#!/usr/bin/env bash
# Real runs of both tools stopped by SIGINT, SIGTERM and SIGHUP while they write leave no temporary
# and no partial file, an old set that --force was replacing is still whole, and the exit status is
# the signal's; with unnamed temporaries (the default) and named ones (DISKSPAN_NAMED_TEMPORARIES=1).
#   interrupts.sh DISKSPAN-PACK DISKSPAN-EXTRACT
set -uo pipefail
pack=$1 extract=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/diskspan-interrupts.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Waits (60 s at most) until process $1 writes in directory $2: holds a file open there, shown
# as "DIR/NAME", or "DIR/#INODE (deleted)" for an unnamed one.
wait_for_writing() {
  local tries=0 fd
  while kill -0 "$1" 2>/dev/null && [ $((tries += 1)) -le 6000 ]; do
    for fd in /proc/"$1"/fd/*; do case "$(readlink "$fd" 2>/dev/null)" in "$2"/*) return 0 ;; esac; done
    sleep 0.01
  done
  return 1
}

# Everything in a directory, hidden files too, with the contents of its files.
snapshot() { [ ! -d "$1" ] || (cd "$1" && find . -mindepth 1 -printf '%y %p\n' -type f -exec sha256sum {} \; | sort); }

# stop WHAT DIR COMMAND...: starts COMMAND, sends it $signal once it writes
# into DIR, and checks that the signal ended it and that DIR is as it was.
stop() {
  local what="$1, $signal, named temporaries $DISKSPAN_NAMED_TEMPORARIES" dir=$2 before pid status
  shift 2
  before=$(snapshot "$dir")
  # Background jobs start with SIGINT ignored; a terminal's Ctrl-C reaches a job that has it at its default.
  env --default-signal=INT "$@" >"$work/log" 2>&1 &
  pid=$!
  if wait_for_writing "$pid" "$dir"; then
    kill -s "$signal" "$pid"
    wait "$pid" 2>/dev/null; status=$?
    [ "$status" -eq $((128 + $(kill -l "$signal"))) ] || fail "$what: exited $status instead of dying of the signal"
  else
    wait "$pid"
    fail "$what: never wrote into $dir (exit $?): $(head -c 400 "$work/log")"
  fi
  [ "$(snapshot "$dir")" = "$before" ] ||
    fail "$what: changed $dir (< before, > after): $(diff <(echo "$before") <(snapshot "$dir") | grep '^[<>] .' | tr '\n' ' ')"
}

# A set that takes seconds to code and decode, of one big file: none is complete when the signal comes.
seq 1 4000000 >"$work/NUMBERS.TXT"
python3 "$(dirname "$0")/fake_stub.py" 3000 >"$work/stub.exe"
packer=("$pack" --stub "$work/stub.exe")
"${packer[@]}" -o "$work/set" "$work/NUMBERS.TXT" >/dev/null ||
  { echo "FAIL: the test set did not pack" >&2; exit 1; }

for DISKSPAN_NAMED_TEMPORARIES in 0 1; do
  export DISKSPAN_NAMED_TEMPORARIES
  for signal in INT TERM HUP; do
    run=$work/$signal-$DISKSPAN_NAMED_TEMPORARIES
    mkdir -p "$run/out" && echo keep >"$run/out/OTHER.TXT" && cp -r "$work/set" "$run/old"
    stop extract "$run/out" "$extract" -d "$run/out" "$work/set/SETUP.EXE"
    stop pack "$run/fresh" "${packer[@]}" -o "$run/fresh" "$work/NUMBERS.TXT"
    stop "pack --force" "$run/old" "${packer[@]}" -o "$run/old" --force --volume-size 720K "$work/NUMBERS.TXT" "$work/stub.exe"
  done
done

[ "$failures" -eq 0 ] || { echo "interrupts: $failures check(s) failed" >&2; exit 1; }
echo "interrupts: every interrupted run left nothing behind"
