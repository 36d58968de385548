#!/usr/bin/env bash
# `cmake --install` into a fresh prefix lays out the tools, the stub, the man pages and the
# completions, which work from anywhere: the packer finds the installed stub by itself, the
# extractor restores its set, man renders both pages, bash-completion finds the completions.
#   install.sh BUILD-DIR
. "$(dirname "$0")/lib/checks.sh" install
build=$(realpath "$1")
prefix=$work/prefix completions=share/bash-completion/completions
bash_completion=/usr/share/bash-completion/bash_completion
# The value of a variable in the build's cache.
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

expect "cmake --install $build" 0 "" cmake --install "$build" --prefix "$prefix"
[ "$failures" -eq 0 ] || exit 1

# The layout. The completions are tools/completions/*.bash, whose offers tools.completions checks.
[[ ! $(cached DISKSPAN_HELP2MAN) =~ ^$|NOTFOUND$ ]] || fail "help2man was not found when $build was configured," \
  "so it has no man pages: install it (scripts/install-deps) and configure again"
for file in bin/diskspan-{pack,extract} share/man/man1/diskspan-{pack,extract}.1; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done
for tool in diskspan-pack diskspan-extract; do
  cmp -s "$root/tools/completions/$tool.bash" "$prefix/$completions/$tool" ||
    fail "$completions/$tool is not installed as a copy of tools/completions/$tool.bash"
done
[ "$failures" -eq 0 ] || die "the installed layout is incomplete, see above"

built_stub=$(cached DISKSPAN_DEFAULT_STUB)
stub=$prefix/share/diskspan/diskspan-stub.exe
if [ -f "$built_stub" ]; then
  cmp -s "$built_stub" "$stub" || fail "share/diskspan/diskspan-stub.exe is not a copy of $built_stub"
  # Mark the installed copy (a reserved MZ header byte) so that a set made from the build's stub shows.
  printf 'mark' | dd of="$stub" bs=1 seek=28 conv=notrunc status=none
else
  grep -q "is not built" "$work/log" || fail "cmake --install did not say that the stub is missing"
  echo "The stub $built_stub is not built: packing with a fake stub put where the install puts the real one"
  mkdir -p "$(dirname "$stub")" && cp "$work/stub.exe" "$stub"
fi

# The installed packer, run from elsewhere without --stub, takes the installed
# stub; the installed extractor, run from a third place, restores the files.
mkdir -p "$work/inputs" "$work/elsewhere" && cd "$work/inputs" || die "no $work/inputs"
seq 1 20000 >NUMBERS.TXT && noise 5000 1 >RANDOM.BIN
expect "the installed packer without --stub" 0 "" "$prefix/bin/diskspan-pack" -o ../set NUMBERS.TXT RANDOM.BIN
cd "$work/elsewhere" || die "no $work/elsewhere"
if [ -f "$work/set/SETUP.EXE" ]; then
  cmp -s -n "$(stat -c %s "$stub")" "$stub" "$work/set/SETUP.EXE" ||
    fail "SETUP.EXE does not begin with the installed stub: the installed packer took its stub from elsewhere"
  expect "the installed extractor" 0 "" "$prefix/bin/diskspan-extract" -d restored ../set/SETUP.EXE
  diff -r "$work/inputs" restored >&2 || fail "the files were not restored identically"
fi

# The man pages render without a warning and document the tool, with examples, pointing to each other
# and free of the parser's lists; bash-completion finds the completions under the command's name when
# the prefix is on its path.
[ -f $bash_completion ] || echo "bash-completion is not installed: its lookup of the completions is not checked"
for tool in diskspan-pack diskspan-extract; do
  MANPAGER=cat MANWIDTH=80 man -l "$prefix/share/man/man1/$tool.1" >man.txt 2>man.err && [ ! -s man.err ] ||
    fail "man -l share/man/man1/$tool.1 fails or warns: $(cat man.err)"
  for w in "^NAME" "$tool - " --help "^EXAMPLES" "^SEE ALSO"; do grep -q -- "$w" man.txt || fail "the man page of $tool lacks '$w'"; done
  ! grep -qE "Needs:|Excludes:" man.txt || fail "the man page of $tool keeps the parser's Needs:/Excludes: lists"
  [ ! -f $bash_completion ] || XDG_DATA_DIRS=$prefix/share bash --norc --noprofile -c \
    'source "$2" && __load_completion "$1" && complete -p "$1"' check "$tool" $bash_completion >/dev/null 2>&1 ||
    fail "bash-completion does not find the installed completion for $tool"
done

checks_done "the install is complete and works from $prefix"
