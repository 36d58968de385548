#!/usr/bin/env bash
# The bash completions offer every option each tool's --help lists (so they
# cannot drift from the tools), and the right values after the options that
# take them: formats, colours, styles, code pages, directories, disk images.
#   completions.sh DISKSPAN-PACK PACK-COMPLETION DISKSPAN-EXTRACT EXTRACT-COMPLETION
set -Eeuo pipefail
trap 'echo "completions.sh: stopped: \"$BASH_COMMAND\" failed (line $LINENO)" >&2' ERR
declare -A script=([diskspan-pack]=$(realpath "$2") [diskspan-extract]=$(realpath "$4"))
work=$(mktemp -d "${TMPDIR:-/tmp}/diskspan-completions.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# offers COMMAND WORD...: what COMMAND's completion offers for the last WORD, sorted.
offers() {
  (cd "$work/files" && bash --norc --noprofile -c '
    source "$1" && shift || exit 1
    compopt() { :; }  # only valid inside a real completion; the offers are what counts
    registered=$(complete -p "$1") && function=${registered##*-F } && function=${function%% *}
    COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMPREPLY=()
    "$function" "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf "%s\n" "${COMPREPLY[@]}"' offers "${script[$1]}" "$@") | sed '/^$/d' | sort
}

# expect "WANTED OFFERS" WORD...: the offers for WORD... are exactly WANTED.
expect() {
  local wanted got
  wanted=$(tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort)
  shift
  got=$(offers "$@")
  [ "$got" = "$wanted" ] || fail "completing '$*' offers [${got//$'\n'/ }], not [${wanted//$'\n'/ }]"
}

# check_no_drift TOOL NAME: NAME's completion loads and offers every option TOOL --help
# lists: the first field of each option line, split at the comma ("-o,--output-dir").
check_no_drift() {
  local name=$2 help listed offered missing
  bash --norc --noprofile -c 'source "$1" && complete -p "$2"' check "${script[$name]}" "$name" >/dev/null ||
    { fail "sourcing ${script[$name]} registers no completion for $name"; return 0; }
  help=$("$1" --help) || { fail "$1 --help exited $?"; return 0; }
  listed=$(awk '/^[ \t]+-/ { print $1 }' <<<"$help" | sed 's/{[^}]*}//g' | tr ',' '\n' | sed -nE '/^--?[A-Za-z0-9]/p' | sort -u)
  grep -qx -- --help <<<"$listed" || { fail "no options read from $name --help (is its format new?)"; return 0; }
  offered=$( (offers "$name" -; offers "$name" --) | sort -u)
  missing=$(comm -23 <(echo "$listed") <(echo "$offered"))
  for option in $missing; do fail "${script[$name]} does not offer $option, which $name --help lists"; done
  # Options offered ahead of the tools (new ones on their way) are only noted.
  comm -13 <(echo "$listed") <(echo "$offered") | sed "s|.*|note: ${script[$name]} offers &, which $name --help does not list|"
  [ -n "$missing" ] || echo "$name: the $(wc -w <<<"$listed") options its --help lists are all offered"
}

mkdir -p "$work/files/subdir" "$work/files/other"
touch "$work/files/notes.txt" "$work/files/DISK01.IMG" "$work/files/disk02.img"
check_no_drift "$1" diskspan-pack
check_no_drift "$3" diskspan-extract

expect "160K 180K 320K 360K 720K 1.2M 1.44M 1.68M 2.88M" diskspan-pack --volume-size ""
expect "1.2M 1.44M 1.68M" diskspan-pack --volume-size 1.
expect "1.2M 1.44M 1.68M" diskspan-pack --volume-size = 1.
colours="black maroon green olive navy purple teal silver grey red lime yellow blue fuchsia aqua white"
for option in --top-colour --bottom-colour --title-colour; do expect "$colours" diskspan-pack "$option" ""; done
expect "bold,italic" diskspan-pack --title-style bold,i
expect "other subdir" diskspan-pack -o ""
expect "other subdir" diskspan-pack --output-dir = ""
expect "" diskspan-pack --title ""
expect "DISK01.IMG disk02.img notes.txt other subdir" diskspan-pack --files-from ""
expect "DISK01.IMG disk02.img notes.txt other subdir" diskspan-pack -o out ""
expect "--title --title-colour --title-size --title-style" diskspan-pack --tit
expect "other subdir" diskspan-extract -d ""
expect "subdir" diskspan-extract --output-dir s
expect "DISK01.IMG disk02.img notes.txt other subdir" diskspan-extract --volumes ""
expect "1250 1251 1252 1253 1254 1255 1256 1257 1258" diskspan-extract --codepage 125
expect "850 852 855 857 858" diskspan-pack --codepage 85
expect "DISK01.IMG disk02.img notes.txt other subdir" diskspan-extract -l ""

[ "$failures" -eq 0 ] || { echo "completions.sh: $failures check(s) failed, listed above" >&2; exit 1; }
echo "completions.sh: the completions offer every listed option and the right values"
