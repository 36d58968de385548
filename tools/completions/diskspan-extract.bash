# bash completion for diskspan-extract: options, the values some of them
# take, and file names for the set. Needs nothing but bash itself.

_diskspan_extract() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  # --option=value arrives as three words: --option, =, value.
  if [[ $cur == = ]]; then
    cur=
  elif [[ $prev == = && $COMP_CWORD -ge 2 ]]; then
    prev=${COMP_WORDS[COMP_CWORD-2]}
  fi

  case $prev in
    -d | --output-dir)
      compopt -o filenames
      mapfile -t COMPREPLY < <(compgen -d -- "$cur")
      return ;;
    --volumes)
      # A directory, or a disk image (any name) holding volumes.
      compopt -o filenames
      mapfile -t COMPREPLY < <(compgen -f -- "$cur")
      return ;;
    --volume-name)
      return ;;
    --codepage)
      mapfile -t COMPREPLY < <(compgen -W "437 737 775 850 852 855 857 858 860 861 862 863 864 865 866 869 874 932 936 949 950
        1250 1251 1252 1253 1254 1255 1256 1257 1258" -- "$cur")
      return ;;
  esac

  if [[ $cur == -* ]]; then
    local options="-h --help -l --list --json -t --test -e --extract -p --stdout -d --output-dir
      --volumes --volume-name --wait-for-disks --codepage --overwrite -n --skip-existing --ignore-checksums
      --progress --no-progress -q --quiet -v --verbose -V --version"
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    return
  fi
  compopt -o filenames
  mapfile -t COMPREPLY < <(compgen -f -- "$cur")
}

complete -F _diskspan_extract diskspan-extract
