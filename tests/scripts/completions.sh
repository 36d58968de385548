#!/usr/bin/env bash
# The bash completions offer every option each tool's --help lists (so they
# cannot drift from the tools), and the right values after the options that
# take them: floppy formats, colour names, title styles, code pages, and
# directories (or disk images) where a directory is wanted.
#   completions.sh DISKSPAN-PACK PACK-COMPLETION DISKSPAN-EXTRACT EXTRACT-COMPLETION
set -Eeuo pipefail
trap 'echo "completions.sh: stopped: \"$BASH_COMMAND\" failed (line $LINENO)" >&2' ERR
pack=$1
pack_completion=$(realpath "$2")
extract=$3
extract_completion=$(realpath "$4")
work=$(mktemp -d "${TMPDIR:-/tmp}/diskspan-completions.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# offers SCRIPT WORD...: what the completion SCRIPT registers for WORD (the
# command) offers for the last WORD, one per line, sorted.
offers() {
  local script=$1
  shift
  (cd "$work/files" && bash --norc --noprofile -c '
    source "$1" || exit 1
    shift
    compopt() { :; }  # only valid inside a real completion; the offers are what counts
    registered=$(complete -p "$1")
    function=${registered##*-F }
    function=${function%% *}
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    "$function" "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf "%s\n" "${COMPREPLY[@]}"' offers "$script" "$@") | sed '/^$/d' | sort
}

# expect SCRIPT "WANTED OFFERS" WORD...: the offers for WORD... are exactly WANTED.
expect() {
  local script=$1 wanted got
  wanted=$(tr ' ' '\n' <<<"$2" | sed '/^$/d' | sort)
  shift 2
  got=$(offers "$script" "$@")
  [ "$got" = "$wanted" ] || fail "completing '$*' offers [${got//$'\n'/ }], not [${wanted//$'\n'/ }]"
}

# The options a tool's --help lists: the first field of each option line,
# split at the comma ("-o,--output-dir" is two).
listed_options() {
  local help
  help=$("$1" --help) || { fail "$1 --help exited $?"; return 0; }
  awk '/^[ \t]+-/ { print $1 }' <<<"$help" | sed 's/{[^}]*}//g' | tr ',' '\n' | { grep -E '^--?[A-Za-z0-9]' || true; } | sort -u
}

# check_no_drift TOOL SCRIPT: every option TOOL --help lists is offered.
check_no_drift() {
  local tool=$1 script=$2 name listed offered option missing=0
  name=$(basename "$tool")
  listed=$(listed_options "$tool")
  grep -qx -- --help <<<"$listed" || { fail "no options read from $name --help (is its format new?)"; return 0; }
  offered=$( (offers "$script" "$name" -; offers "$script" "$name" --) | sort -u)
  for option in $listed; do
    grep -qx -- "$option" <<<"$offered" ||
      { fail "$script does not offer $option, which $name --help lists"; missing=$((missing + 1)); }
  done
  # Options offered ahead of the tools (new ones on their way) are only noted.
  for option in $offered; do
    grep -qx -- "$option" <<<"$listed" || echo "note: $script offers $option, which $name --help does not list"
  done
  [ "$missing" -ne 0 ] || echo "$name: the $(wc -w <<<"$listed") options its --help lists are all offered"
}

mkdir -p "$work/files/subdir" "$work/files/other"
touch "$work/files/notes.txt" "$work/files/DISK01.IMG" "$work/files/disk02.img"

check_no_drift "$pack" "$pack_completion"
check_no_drift "$extract" "$extract_completion"

formats="160K 180K 320K 360K 720K 1.2M 1.44M 1.68M 2.88M"
colours="black maroon green olive navy purple teal silver grey red lime yellow blue fuchsia aqua white"
expect "$pack_completion" "$formats" diskspan-pack --volume-size ""
expect "$pack_completion" "1.2M 1.44M 1.68M" diskspan-pack --volume-size 1.
expect "$pack_completion" "1.2M 1.44M 1.68M" diskspan-pack --volume-size = 1.
for option in --top-colour --bottom-colour --title-colour; do
  expect "$pack_completion" "$colours" diskspan-pack "$option" ""
done
expect "$pack_completion" "fuchsia" diskspan-pack --title-colour = f
expect "$pack_completion" "bold,italic" diskspan-pack --title-style bold,i
expect "$pack_completion" "other subdir" diskspan-pack -o ""
expect "$pack_completion" "other subdir" diskspan-pack --output-dir = ""
expect "$pack_completion" "" diskspan-pack --title ""
expect "$pack_completion" "DISK01.IMG disk02.img notes.txt other subdir" diskspan-pack -o out ""
expect "$pack_completion" "--title --title-colour --title-size --title-style" diskspan-pack --tit

expect "$extract_completion" "other subdir" diskspan-extract -d ""
expect "$extract_completion" "subdir" diskspan-extract --output-dir s
expect "$extract_completion" "DISK01.IMG disk02.img other subdir" diskspan-extract --volumes ""
expect "$extract_completion" "1250 1251 1252 1253 1254 1255 1256 1257 1258" diskspan-extract --codepage 125
expect "$extract_completion" "DISK01.IMG disk02.img notes.txt other subdir" diskspan-extract -l ""

for pair in "diskspan-pack:$pack_completion" "diskspan-extract:$extract_completion"; do
  bash --norc --noprofile -c 'source "$2" && complete -p "$1"' check "${pair%%:*}" "${pair#*:}" >/dev/null ||
    fail "sourcing ${pair#*:} registers no completion for ${pair%%:*}"
done

if [ "$failures" -ne 0 ]; then
  echo "completions.sh: $failures check(s) failed, listed above" >&2
  exit 1
fi
echo "completions.sh: the completions offer every listed option and the right values"
