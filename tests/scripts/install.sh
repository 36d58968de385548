#!/usr/bin/env bash
# `cmake --install` into a fresh prefix lays out the tools, the stub, the man
# pages and the bash completions where they belong, and what it installs
# works from anywhere: the installed packer finds the installed stub by
# itself, the installed extractor restores its set, man renders both pages,
# and the completions load and offer every option the tools list.
#   install.sh BUILD-DIR
set -Eeuo pipefail
trap 'echo "install.sh: stopped: \"$BASH_COMMAND\" failed (line $LINENO)" >&2' ERR
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d "${TMPDIR:-/tmp}/diskspan-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The value of a variable in the build's cache.
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; echo "FAIL: cmake --install $build failed" >&2; exit 1; }

# The layout.
case $(cached DISKSPAN_HELP2MAN) in
  *NOTFOUND | "") fail "help2man was not found when $build was configured, so it has no man pages:" \
    "install it (scripts/install-deps) and configure again" ;;
esac
for tool in diskspan-pack diskspan-extract; do
  [ -x "$prefix/bin/$tool" ] || fail "bin/$tool is not installed"
  [ -f "$prefix/share/man/man1/$tool.1" ] || fail "share/man/man1/$tool.1 is not installed"
  [ -f "$prefix/share/bash-completion/completions/$tool" ] ||
    fail "share/bash-completion/completions/$tool is not installed"
done
[ "$failures" -eq 0 ] || { echo "install.sh: the installed layout is incomplete, see above" >&2; exit 1; }

built_stub=$(cached DISKSPAN_DEFAULT_STUB)
stub=$prefix/share/diskspan/diskspan-stub.exe
if [ -f "$built_stub" ]; then
  cmp -s "$built_stub" "$stub" || fail "share/diskspan/diskspan-stub.exe is not a copy of $built_stub"
  # Mark the installed copy (a reserved byte of the MZ header, which no one
  # reads) so that a set made from the build's stub instead shows.
  printf 'mark' | dd of="$stub" bs=1 seek=28 conv=notrunc status=none
else
  grep -q "is not built" "$work/install.log" || fail "cmake --install did not say that the stub is missing"
  echo "The stub $built_stub is not built: packing with a fake stub put where the install puts the real one"
  mkdir -p "$(dirname "$stub")"
  { printf 'MZ'; head -c 3000 /dev/zero; } >"$stub"
fi

# The installed packer, run from elsewhere without --stub, takes the installed
# stub; the installed extractor, run from a third place, restores the files.
mkdir -p "$work/inputs" "$work/elsewhere"
seq 1 20000 >"$work/inputs/NUMBERS.TXT"
head -c 5000 /dev/urandom >"$work/inputs/RANDOM.BIN"
(cd "$work/inputs" && "$prefix/bin/diskspan-pack" -o "$work/set" NUMBERS.TXT RANDOM.BIN) >"$work/pack.log" 2>&1 ||
  { cat "$work/pack.log" >&2; fail "the installed diskspan-pack did not pack without --stub"; }
if [ -f "$work/set/SETUP.EXE" ]; then
  cmp -s -n "$(stat -c %s "$stub")" "$stub" "$work/set/SETUP.EXE" ||
    fail "SETUP.EXE does not begin with the installed stub: the installed packer took its stub from elsewhere"
  (cd "$work/elsewhere" && "$prefix/bin/diskspan-extract" -d restored "$work/set/SETUP.EXE") >"$work/extract.log" 2>&1 ||
    { cat "$work/extract.log" >&2; fail "the installed diskspan-extract did not restore the set"; }
  for file in NUMBERS.TXT RANDOM.BIN; do
    cmp -s "$work/inputs/$file" "$work/elsewhere/restored/$file" || fail "$file was not restored identically"
  done
fi

# The man pages render without a warning and document the tool.
for tool in diskspan-pack diskspan-extract; do
  page=$prefix/share/man/man1/$tool.1
  if ! MANPAGER=cat MANWIDTH=80 man -l "$page" >"$work/man.txt" 2>"$work/man.err"; then
    fail "man -l $page failed: $(cat "$work/man.err")"
  elif [ -s "$work/man.err" ]; then
    fail "man -l $page warns: $(cat "$work/man.err")"
  else
    grep -q "^NAME" "$work/man.txt" || fail "the man page of $tool has no NAME"
    grep -q "$tool - " "$work/man.txt" || fail "the man page of $tool does not name it"
    grep -q -- "--help" "$work/man.txt" || fail "the man page of $tool does not document --help"
  fi
done

# The completions load by hand, and by bash-completion's own lookup under
# the command's name when the prefix is on its path.
completions=$prefix/share/bash-completion/completions
for tool in diskspan-pack diskspan-extract; do
  bash --norc --noprofile -c 'source "$1" && complete -p "$2"' check "$completions/$tool" "$tool" >/dev/null ||
    fail "sourcing $completions/$tool registers no completion for $tool"
  if [ -f /usr/share/bash-completion/bash_completion ]; then
    XDG_DATA_DIRS=$prefix/share bash --norc --noprofile -c \
      'source /usr/share/bash-completion/bash_completion && __load_completion "$1" && complete -p "$1"' \
      check "$tool" >/dev/null 2>&1 || fail "bash-completion does not find the installed completion for $tool"
  else
    echo "bash-completion is not installed: its lookup of the completions is not checked"
  fi
done
bash "$here/completions.sh" "$prefix/bin/diskspan-pack" "$completions/diskspan-pack" \
  "$prefix/bin/diskspan-extract" "$completions/diskspan-extract" || fail "the installed completions, see above"

if [ "$failures" -ne 0 ]; then
  echo "install.sh: $failures check(s) of the installed tools failed, listed above" >&2
  exit 1
fi
echo "install.sh: the install is complete and works from $prefix"
