# bash completion for ostravue: its options, and backup files (.ysk in any case) and folders.
_ostravue() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
  local IFS=$'\n'
  case $prev in
    --layout) mapfile -t COMPREPLY < <(compgen -W $'1\n4\n9\n16' -- "$cur"); return ;;
    --start) return ;;
  esac
  if [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$(LANGUAGE=C ostravue --help 2>/dev/null |
      grep -oE -- '--[a-z][a-z0-9-]*' | sort -u)" -- "$cur")
  else
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -d -- "$cur"; compgen -f -X '!*.[yY][sS][kK]' -- "$cur")
  fi
}
complete -F _ostravue ostravue
