#!/usr/bin/env bash
# Real runs of both tools stopped by SIGINT, SIGTERM and SIGHUP while they
# write: no temporary survives, no partial file appears, an old set that
# --force was replacing is still whole, and the exit status is the signal's.
# Each case runs with unnamed temporaries (the default) and with named ones
# (DISKSPAN_NAMED_TEMPORARIES=1, the fallback for other file systems).
#   interrupts.sh DISKSPAN-PACK DISKSPAN-EXTRACT
set -uo pipefail
pack=$1
extract=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/diskspan-interrupts.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Waits until process $1 holds a file open in directory $2 (it is writing
# there), at most 60 s. Unnamed files show as "DIR/#INODE (deleted)".
wait_for_writing() {
  local pid=$1 dir=$2 fd
  for _ in $(seq 6000); do
    for fd in /proc/"$pid"/fd/*; do
      case "$(readlink "$fd" 2>/dev/null)" in "$dir"/*) return 0 ;; esac
    done
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.01
  done
  return 1
}

# Everything in a directory, hidden files too, one per line.
contents() { (cd "$1" && find . -mindepth 1 | sort); }

signal_number() { kill -l "$1"; }

# run_and_stop SIGNAL DIR COMMAND...: starts COMMAND, signals it once it
# writes into DIR, and checks that the signal ended it.
run_and_stop() {
  local signal=$1 dir=$2 pid status
  shift 2
  # A shell starts background jobs with SIGINT ignored; a terminal's Ctrl-C
  # reaches a foreground job that has it at its default.
  env --default-signal=INT "$@" >"$work/log" 2>&1 &
  pid=$!
  if ! wait_for_writing "$pid" "$dir"; then
    wait "$pid"
    fail "$* never wrote into $dir (exit $?): $(head -c 400 "$work/log")"
    return 1
  fi
  kill -s "$signal" "$pid"
  wait "$pid" 2>/dev/null
  status=$?
  [ "$status" -eq $((128 + $(signal_number "$signal"))) ] ||
    fail "$signal: $1 exited $status instead of dying of the signal"
}

# A set large enough to take seconds to code and decode: one big file, so
# no file can be complete when the signal comes.
seq 1 4000000 >"$work/NUMBERS.TXT"
head -c 3000 /dev/zero >"$work/stub.exe"
"$pack" --stub "$work/stub.exe" -o "$work/set" "$work/NUMBERS.TXT" >/dev/null ||
  { echo "FAIL: the test set did not pack" >&2; exit 1; }

for named in 0 1; do
  export DISKSPAN_NAMED_TEMPORARIES=$named
  for signal in INT TERM HUP; do
    what="$signal, named temporaries $named"

    out="$work/out-$signal-$named"
    mkdir -p "$out"
    echo keep >"$out/OTHER.TXT"
    run_and_stop "$signal" "$out" "$extract" -d "$out" "$work/set/SETUP.EXE"
    [ "$(contents "$out")" = "./OTHER.TXT" ] || fail "extract, $what: left $(contents "$out" | tr '\n' ' ')"

    fresh="$work/fresh-$signal-$named"
    run_and_stop "$signal" "$fresh" "$pack" --stub "$work/stub.exe" -o "$fresh" "$work/NUMBERS.TXT"
    [ -z "$(contents "$fresh")" ] || fail "pack, $what: left $(contents "$fresh" | tr '\n' ' ')"

    old="$work/old-$signal-$named"
    cp -r "$work/set" "$old"
    before=$(cd "$old" && sha256sum * | sort)
    run_and_stop "$signal" "$old" "$pack" --stub "$work/stub.exe" -o "$old" --force --volume-size 720K \
      "$work/NUMBERS.TXT" "$work/stub.exe"
    [ "$(cd "$old" && sha256sum * | sort)" = "$before" ] || fail "pack --force, $what: the old set changed"
    [ "$(contents "$old" | grep -c '/\.')" -eq 0 ] || fail "pack --force, $what: left $(contents "$old" | tr '\n' ' ')"
  done
done

if [ "$failures" -gt 0 ]; then
  echo "interrupts: $failures check(s) failed" >&2
  exit 1
fi
echo "interrupts: every interrupted run left nothing behind"
