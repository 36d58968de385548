#!/usr/bin/env bash
# The bash completions offer every option each tool's --help lists (so they
# cannot drift from the tools), and the right values after the options that
# take them: formats, colours, styles, code pages, directories, disk images.
#   completions.sh DISKSPAN-PACK PACK-COMPLETION DISKSPAN-EXTRACT EXTRACT-COMPLETION
. "$(dirname "$0")/lib/checks.sh" completions
declare -A script=([diskspan-pack]=$(realpath "$2") [diskspan-extract]=$(realpath "$4"))

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

# offered "WANTED OFFERS" WORD...: the offers for WORD... are exactly WANTED.
offered() {
  local wanted got
  wanted=$(tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort) got=$(offers "${@:2}")
  [ "$got" = "$wanted" ] || fail "completing '${*:2}' offers [${got//$'\n'/ }], not [${wanted//$'\n'/ }]"
}

# check_no_drift TOOL NAME: NAME's completion offers every option TOOL --help lists: the first field
# of each option line, split at the comma ("-o,--output-dir").
check_no_drift() {
  local listed option
  listed=$("$1" --help | awk '/^[ \t]+-/ { print $1 }' | sed 's/{[^}]*}//g' | tr ',' '\n' | sed -nE '/^--?[A-Za-z0-9]/p' | sort -u)
  grep -qx -- --help <<<"$listed" || fail "no options read from $2 --help (is its format new?)"
  for option in $(comm -23 <(echo "$listed") <( (offers "$2" -; offers "$2" --) | sort -u)); do
    fail "${script[$2]} does not offer $option, which $2 --help lists"
  done
}

mkdir -p "$work/files/subdir" "$work/files/other"
touch "$work/files/notes.txt" "$work/files/DISK01.IMG" "$work/files/disk02.img"
check_no_drift "$1" diskspan-pack
check_no_drift "$3" diskspan-extract

offered "160K 180K 320K 360K 720K 1.2M 1.44M 1.68M 2.88M" diskspan-pack --volume-size ""
offered "1.2M 1.44M 1.68M" diskspan-pack --volume-size 1.
offered "1.2M 1.44M 1.68M" diskspan-pack --volume-size = 1.
colours="black maroon green olive navy purple teal silver grey red lime yellow blue fuchsia aqua white"
for option in --top-colour --bottom-colour --title-colour; do offered "$colours" diskspan-pack "$option" ""; done
offered "bold,italic" diskspan-pack --title-style bold,i
offered "other subdir" diskspan-pack -o ""
offered "other subdir" diskspan-pack --output-dir = ""
offered "other subdir" diskspan-extract -d ""
offered "DISK01.IMG disk02.img notes.txt other subdir" diskspan-pack --files-from ""
offered "DISK01.IMG disk02.img notes.txt other subdir" diskspan-pack -o out ""
offered "DISK01.IMG disk02.img notes.txt other subdir" diskspan-extract --volumes ""
offered "DISK01.IMG disk02.img notes.txt other subdir" diskspan-extract -l ""
offered "" diskspan-pack --title ""
offered "--title --title-colour --title-size --title-style" diskspan-pack --tit
offered "subdir" diskspan-extract --output-dir s
offered "1250 1251 1252 1253 1254 1255 1256 1257 1258" diskspan-extract --codepage 125
offered "850 852 855 857 858" diskspan-pack --codepage 85

checks_done "the completions offer every listed option and the right values"
