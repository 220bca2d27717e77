# bash completion for ostravue-cli. The commands and options are read from the program's own
# --help, so they never fall behind it.
_ostravue_cli_commands() {
  LANGUAGE=C ostravue-cli --help 2>/dev/null |
    awk '/^Commands:/ { f = 1; next } /^$/ { f = 0 } f && /^  [a-z]/ { print $1 }'
}

_ostravue_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} cmd="" i
  local IFS=$'\n'
  for ((i = 1; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in
      -*) ;;
      *) cmd=${COMP_WORDS[i]}; break ;;
    esac
  done
  if [[ -z $cmd ]]; then
    if [[ $cur == -* ]]; then
      mapfile -t COMPREPLY < <(compgen -W $'--help\n--version' -- "$cur")
    else
      mapfile -t COMPREPLY < <(compgen -W "$(_ostravue_cli_commands)" -- "$cur")
    fi
    return
  fi
  case $prev in
    --format) mapfile -t COMPREPLY < <(compgen -W $'mp4\nmkv' -- "$cur"); return ;;
    --coding) mapfile -t COMPREPLY < <(compgen -W $'1\n2' -- "$cur"); return ;;
    --kind) mapfile -t COMPREPLY < <(compgen -W $'0\n1\n2' -- "$cur"); return ;;
    --schema) mapfile -t COMPREPLY < <(compgen -W $'1\n2' -- "$cur"); return ;;
    --db)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -f -- "$cur")
      return
      ;;
    --out)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -d -- "$cur")
      return
      ;;
  esac
  if [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$(LANGUAGE=C ostravue-cli "$cmd" --help 2>/dev/null |
      grep -oE -- '--[a-z][a-z0-9-]*' | sort -u)" -- "$cur")
  else
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
  fi
}
complete -F _ostravue_cli ostravue-cli
