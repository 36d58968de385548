#!/usr/bin/env bash
# Sets as people hold them restore all they can: a five-disk set missing disk 3 restores exactly the
# files its listing puts before disk 3 (and --test says the same), disk 1 alone restores what a pattern
# needs of it; a renamed installer finds its volumes by their contents; a 1251 set lists in its own code
# page; --wait-for-disks asks for each disk on a terminal (a pseudo-terminal here, whose other end swaps
# the disks) and q gives up on one; -p writes the files' bytes alone, in the set's order.
#   held_sets.sh DISKSPAN-PACK DISKSPAN-EXTRACT
. "$(dirname "$0")/lib/checks.sh" held_sets
pack=$1 extract=$2
# restored DIR NAME...: DIR holds exactly the NAMEs, each as packed.
restored() {
  mkdir "$1.wanted" && (cd "$work/in" && cp -- "${@:2}" "$1.wanted/") && diff -r "$1.wanted" "$1" >&2 ||
    fail "$1 does not hold exactly [${*:2}] as packed"
}

mkdir "$work/in" && for i in 1 2 3 4 5 6 7 8; do noise 30000 "$i" >"$work/in/F$i.BIN"; done
echo "Привет" >"$work/in/Привет.txt"
names=(Привет.txt F1.BIN F2.BIN F3.BIN F4.BIN F5.BIN F6.BIN F7.BIN F8.BIN)
"$pack" -q --stub "$work/stub.exe" --codepage 1251 --volume-size 60000 -o "$work/set" "${names[@]/#/$work/in/}" ||
  die "the set did not pack"
[ -f "$work/set/SETUP.05" ] && [ ! -f "$work/set/SETUP.06" ] || die "the set is not of five disks"

# The listing, without --codepage, in the set's own code page, gives each file's disks.
expect "listing the 1251 set" 0 "Code page:         1251 (as the set names it)" "$extract" -l "$work/set/SETUP.EXE"
grep -q "  1      Привет.txt$" "$work/log" || fail "Привет.txt is not listed on disk 1: $(cat "$work/log")"
before3=() after3=() disk1=()
while read -r disks name; do
  if [ "${disks#*-}" -lt 3 ]; then before3+=("$name"); else after3+=("$name"); fi
  [ "$disks" = 1 ] && disk1+=("$name")
done < <(awk '$4 ~ /^[0-9]+(-[0-9]+)?$/ && NF == 5 { print $4, $5 }' "$work/log")
[ "${#before3[@]}" -ge 2 ] && [ "${#after3[@]}" -ge 2 ] && [ "${#disk1[@]}" -ge 2 ] ||
  die "the listing does not spread the files over the disks: $(cat "$work/log")"
"$extract" -p "$work/set/SETUP.EXE" | cmp -s - <(cd "$work/in" && cat "${names[@]}") || fail "-p failed or gave other bytes"
"$extract" -p "$work/set/SETUP.EXE" "F[34]*" | cmp -s - <(cat "$work/in"/F[34].BIN) || fail "-p F[34]* failed or gave other bytes"

# Disk 3 lost: the files before it come back, the others are named with it; --test says the same.
cp -r "$work/set" "$work/lost" && rm "$work/lost/SETUP.03"
expect "extracting without disk 3" 1 "disk 3 is missing: SETUP.03 was looked for in $work/lost" \
  "$extract" -d "$work/out-lost" "$work/lost/SETUP.EXE"
restored "$work/out-lost" "${before3[@]}"
for name in "${after3[@]}"; do grep -qF "$name needs disk 3, which is missing: not written" "$work/log" || fail "$name not named"; done
expect "testing without disk 3" 1 "${after3[0]} needs disk 3, which is missing: not tested" "$extract" -t "$work/lost/SETUP.EXE"
# Disk 1 alone: a pattern that needs nothing more restores it all.
mkdir "$work/disk1" && cp "$work/set/SETUP.EXE" "$work/set/SETUP.01" "$work/disk1/"
expect "disk 1 alone, its own files" 0 "" "$extract" -d "$work/out-1" "$work/disk1/SETUP.EXE" -- "${disk1[@]}"
restored "$work/out-1" "${disk1[@]}"

# A renamed installer takes the series beside it, and says so.
cp -r "$work/set" "$work/renamed" && mv "$work/renamed/SETUP.EXE" "$work/renamed/SETUP (1).EXE"
expect "SETUP (1).EXE" 0 "SETUP (1).EXE has no volumes named after it: took SETUP.01 to SETUP.05, which match its" \
  "$extract" -t "$work/renamed/SETUP (1).EXE"
expect "--volume-name" 0 "The set is sound" "$extract" -t --volume-name SETUP "$work/renamed/SETUP (1).EXE"
! grep -q "no volumes named after it" "$work/log" || fail "--volume-name did not name the volumes outright"

# One floppy drive: the drive holds one disk at a time; at each prompt the disk is swapped.
mkdir "$work/drive"
# swapping QUIT-AT COMMAND...: puts disk 1 in the drive and runs COMMAND on a pseudo-terminal; at "Insert
# disk N (NAME)", empties the drive and puts NAME in it, then presses Enter, or answers q at disk QUIT-AT.
swapping() {
  cp "$work/set/SETUP.EXE" "$work/set/SETUP.01" "$work/drive/" && python3 - "$work/drive" "$work/set" "$@" <<'EOF'
import os, pty, re, shutil, signal, sys
drive, disks, quit_at, *command = sys.argv[1:]
signal.alarm(120)  # a hung run fails the test instead of hanging it
pid, fd = pty.fork()
if pid == 0:
    os.execvp(command[0], command)
def read():
    try:
        return os.read(fd, 4096)
    except OSError:  # the other end closed
        return b""
seen = b""
while data := read():
    seen += data
    sys.stdout.buffer.write(data)
    if prompt := re.search(rb"Insert disk (\d+) \((\S+)\) and press Enter[^:]*: ", seen):
        seen, swap = seen[prompt.end():], prompt.group(1).decode() != quit_at
        if swap:
            for name in os.listdir(drive):
                os.remove(os.path.join(drive, name))
            shutil.copy(os.path.join(disks, prompt.group(2).decode()), drive)
        os.write(fd, b"\n" if swap else b"q\n")
sys.exit(os.waitstatus_to_exitcode(os.waitpid(pid, 0)[1]))
EOF
}
expect "--wait-for-disks" 0 "Insert disk 5 (SETUP.05) and press Enter" \
  swapping 0 "$extract" --wait-for-disks --no-progress -d "$work/out-drive" "$work/drive/SETUP.EXE"
restored "$work/out-drive" "${names[@]}"
expect "--wait-for-disks, q at disk 3" 1 "${after3[0]} needs disk 3, which is missing" \
  swapping 3 "$extract" --wait-for-disks --no-progress -d "$work/out-q" "$work/drive/SETUP.EXE"
restored "$work/out-q" "${before3[@]}"
expect "--wait-for-disks without a terminal" 1 "--wait-for-disks: standard input is not a terminal" \
  "$extract" --wait-for-disks -t "$work/disk1/SETUP.EXE" </dev/null

checks_done "lost disks, renamed installers, code pages, one drive and -p as people meet them"
