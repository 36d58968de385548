# bash completion for diskspan-pack: options, the values some of them take,
# and file and folder names for what to pack. Needs nothing but bash itself.

_diskspan_pack() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  # --option=value arrives as three words: --option, =, value.
  if [[ $cur == = ]]; then
    cur=
  elif [[ $prev == = && $COMP_CWORD -ge 2 ]]; then
    prev=${COMP_WORDS[COMP_CWORD-2]}
  fi

  local colours="black maroon green olive navy purple teal silver grey red lime yellow blue fuchsia aqua white"
  case $prev in
    -o | --output-dir)
      compopt -o filenames
      mapfile -t COMPREPLY < <(compgen -d -- "$cur")
      return ;;
    --stub | --files-from)
      compopt -o filenames
      mapfile -t COMPREPLY < <(compgen -f -- "$cur")
      return ;;
    --volume-size)
      mapfile -t COMPREPLY < <(compgen -W "160K 180K 320K 360K 720K 1.2M 1.44M 1.68M 2.88M" -- "$cur")
      return ;;
    --top-colour | --bottom-colour | --title-colour)
      mapfile -t COMPREPLY < <(compgen -W "$colours" -- "$cur")
      return ;;
    --title-style)
      # A comma-separated list: complete the word after the last comma.
      local done=${cur%"${cur##*,}"}
      mapfile -t COMPREPLY < <(compgen -P "$done" -W "bold italic underline strikeout plain" -- "${cur##*,}")
      compopt -o nospace
      return ;;
    --codepage)
      mapfile -t COMPREPLY < <(compgen -W "437 737 775 850 852 855 857 858 860 861 862 863 864 865 866 869 874 932 936 949 950
        1250 1251 1252 1253 1254 1255 1256 1257 1258" -- "$cur")
      return ;;
    --launch)
      compopt -o filenames
      mapfile -t COMPREPLY < <(compgen -f -- "$cur")
      return ;;
    --name | --title | --font | --title-size | --default-dir)
      return ;;  # free text: nothing worth offering
  esac

  if [[ $cur == -* ]]; then
    local options="-h --help -o --output-dir --stub --name --title --font --title-size
      --title-style --top-colour --bottom-colour --title-colour --default-dir --launch
      --volume-size --codepage --force --fast --no-checksums --images --json --files-from -0 --null
      --graft-points --dry-run -q --quiet --progress --no-progress
      -v --verbose -V --version"
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    return
  fi
  compopt -o filenames
  mapfile -t COMPREPLY < <(compgen -f -- "$cur")
}

complete -F _diskspan_pack diskspan-pack
