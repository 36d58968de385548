#!/usr/bin/env bash
# A full installation under Wine against the native decode of the same set.
#   bench/install-under-wine.sh [--arch i686|x86_64] [--stub FILE] [RUNS]   (best of RUNS, default 3)
# The flavour defaults to the PE32 product where this host runs 32-bit code,
# else the x86_64 build of the same stub. --stub times another build of the
# stub (an older one, say) of that flavour on the same sets instead.
# Packs a set of 14 MB of mixed data (random bytes, executables,
# headers and text from this machine) into 1.44 MB volumes, then times:
#   install: the stub's whole run, Enter on the default to the final box;
#   native:  diskspan-extract --test on the same set (reassemble and decode);
#   wine:    the stub started and cancelled at once (Wine's start and end,
#            the dialogs and the final box, no stage).
# Prints the three times and install / (native + wine); the target is 3x.
# Starts its own Wine prefix and X server and leaves nothing running.
set -euo pipefail
# Never a silent stop: name the step that failed.
trap 'echo "install-under-wine: stopped: \"$BASH_COMMAND\" failed (line $LINENO); the lines above say why" >&2' ERR
cd "$(dirname "$0")/.."
. scripts/lib/host.sh
arch=$(host_default_arch)
other_stub=""
while [ $# -ge 2 ]; do
  case $1 in
    --arch) arch=$2 ;;
    --stub) other_stub=$(realpath "$2") ;;
    *) break ;;
  esac
  shift 2
done
runs=${1:-3}
host_check_arch "$arch"
host_can_run "$arch" || { echo "install-under-wine: the $arch flavour cannot run here: $(host_why_not "$arch")" >&2; exit 1; }
preset=$(host_preset "$arch")
build() {  # quiet unless it fails
  local log
  log=$(mktemp)
  "$@" >"$log" 2>&1 || { cat "$log"; rm -f "$log"; exit 1; }
  rm -f "$log"
}
build cmake --preset "$preset"
build cmake --build --preset "$preset" -j"$(nproc)" --target diskspan-stub diskspan-auto
build cmake --preset release
build cmake --build --preset release -j"$(nproc)" --target diskspan-pack diskspan-extract
stub=${other_stub:-$PWD/build/$preset/diskspan-stub.exe}
helper=$PWD/build/$preset/diskspan-auto.exe

. scripts/lib/wine-env.sh
wine_env_start virtual "$arch"
work=$WINE_ENV_DIR/bench
mkdir -p "$work/files"

# The corpus: each part a prefix of a sorted walk, so a machine gives the
# same bytes from run to run.
take() {  # take NAME BYTES DIR PATTERN
  find "$3" -type f -name "$4" -size -2M 2>/dev/null | LC_ALL=C sort |
    xargs cat 2>/dev/null | head -c "$2" >"$work/files/$1" || true
}
head -c 12500000 /dev/urandom >"$work/files/RANDOM.BIN"
take PROGRAMS.BIN 1000000 /usr/bin '*'
take HEADERS.H 300000 /usr/include '*.h'
take TEXT.TXT 200000 /usr/share/common-licenses '*'
build/release/tools/pack/diskspan-pack --stub "$stub" -o "$work/set" --title Bench \
  --default-dir 'C:\BENCH' "$work"/files/* | tail -n 1
# The same set without its verification record, for the record's cost.
build/release/tools/pack/diskspan-pack --stub "$stub" -o "$work/plain" --title Bench --no-checksums \
  --default-dir 'C:\BENCH' "$work"/files/* >/dev/null
volumes=$(find "$work/set" -name 'SETUP.0*' | wc -l)
input=$(cat "$work"/files/* | wc -c)

now() { date +%s.%N; }
best=""
keep_best() {  # keep_best VAR SECONDS
  local current=${!1}
  if [ -z "$current" ] || [ "$(echo "$2 < $current" | bc)" = 1 ]; then printf -v "$1" '%s' "$2"; fi
}

# stub_run SET STEPS...: seconds from the stub's start to its end.
stub_run() {
  local start end pid set=$1
  shift
  rm -rf "$WINEPREFIX/drive_c/BENCH"
  start=$(now)
  "$WINE" "$work/$set/SETUP.EXE" >/dev/null 2>&1 &
  pid=$!
  "$WINE" "$helper" --timeout 300 "$@" >"$work/helper.log" 2>&1 || { cat "$work/helper.log"; exit 1; }
  wait "$pid"
  end=$(now)
  echo "$end - $start" | bc
}

# install_and_test SET INSTALL-VAR TEST-VAR: one install and one --test.
install_and_test() {
  keep_best "$2" "$(stub_run "$1" wait "Destination Directory" enter gone box Bench ok)"
  grep -q 'successfully installed' "$work/helper.log" || { cat "$work/helper.log"; exit 1; }
  for f in "$work"/files/*; do
    cmp -s "$f" "$WINEPREFIX/drive_c/BENCH/$(basename "$f")" || { echo "bench: $f differs" >&2; exit 1; }
  done
  start=$(now)
  build/release/tools/restore/diskspan-extract --test -q "$work/$1/SETUP.EXE"
  keep_best "$3" "$(echo "$(now) - $start" | bc)"
}

install="" native="" cancelled="" plainInstall="" plainNative=""
for run in $(seq "$runs"); do
  install_and_test set install native
  install_and_test plain plainInstall plainNative
  keep_best cancelled "$(stub_run set wait "Destination Directory" press 2 box "Exit Bench" yes box Bench ok)"
done

printf 'set: %d bytes of input, %d volumes of 1.44 MB; %s stub %s; best of %d runs\n' "$input" "$volumes" "$arch" \
  "${other_stub:-(this tree)}" "$runs"
printf 'install under Wine:          %6.2f s\n' "$install"
printf 'native decode (extract -t):  %6.2f s\n' "$native"
printf 'Wine start and end (cancel): %6.2f s\n' "$cancelled"
printf 'ratio install / (native + wine start and end): %.2fx (target 3x)\n' \
  "$(echo "$install / ($native + $cancelled)" | bc -l)"
printf 'without checksums: install %6.2f s, extract -t %6.2f s\n' "$plainInstall" "$plainNative"
printf 'the checksums cost: install %.3fx, extract -t %.3fx\n' \
  "$(echo "$install / $plainInstall" | bc -l)" "$(echo "$native / $plainNative" | bc -l)"
