#!/usr/bin/env bash
# Real runs of both tools stopped by SIGINT, SIGTERM and SIGHUP while they write leave no temporary
# and no partial file, an old set that --force was replacing is still whole, and the exit status is
# the signal's; with unnamed temporaries (the default) and named ones (DISKSPAN_NAMED_TEMPORARIES=1).
# Each tool raises the signal itself once it has made its first write into a file
# (DISKSPAN_TEST_SIGNAL_AFTER_WRITE), so the test does not depend on how fast the tools run.
#   interrupts.sh DISKSPAN-PACK DISKSPAN-EXTRACT
. "$(dirname "$0")/lib/checks.sh" interrupts
pack=$1 extract=$2

# stop WHAT DIR COMMAND...: runs COMMAND, which raises $signal after its first write, and checks
# that the signal ended it and that DIR is as it was.
stop() {
  local what="$1, $signal, named temporaries $DISKSPAN_NAMED_TEMPORARIES" dir=$2 before status
  before=$(snapshot "$dir")
  # Background jobs start with SIGINT ignored, which a tool keeps (as under nohup); a terminal's
  # Ctrl-C reaches a tool that has it at its default. A job's death is not reported when waited for.
  DISKSPAN_TEST_SIGNAL_AFTER_WRITE=$(kill -l "$signal") env --default-signal=INT "${@:3}" >"$work/log" 2>&1 &
  wait $! 2>/dev/null; status=$?
  [ "$status" -eq $((128 + $(kill -l "$signal"))) ] ||
    fail "$what: exited $status instead of dying of the signal: $(head -c 400 "$work/log")"
  diff <(echo "$before") <(echo "$(snapshot "$dir")") >&2 || fail "$what: changed $dir (< before, > after: above)"
}

# A set of one file that codes to several chunks and, at 720K, to two volumes.
seq 1 400000 >"$work/NUMBERS.TXT"
packer=("$pack" --stub "$work/stub.exe")
"${packer[@]}" -o "$work/set" "$work/NUMBERS.TXT" >/dev/null || die "the test set did not pack"

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

checks_done "every interrupted run left nothing behind"
