# bash completion for drovik-cli                             -*- shell-script -*-
#
# Completes the commands, each command's options, files and folders where they are wanted,
# and the names of the profiles registered in the data folder the command would use: the
# --data-dir already on the line, else the program's own. Profile names may hold blanks and
# Japanese text; they are offered quoted for the shell, the multibyte text left as it is.

# The options that take a value, as drovik-cli reads its command line.
_drovik_cli_value_options=" --data-dir --all --nw --base --into -o --printer --ftp --ip
  --password-file --jobs --timeout --profile --target --since --operation --rate --plan
  --target-map --snmp-community --snmp-user --snmp-auth --snmp-priv --snmp-secret-file "

_drovik_cli_commands="list generate report migrate register delete decode-nvram dump printers
  send fetch diff discover fleet history"

# Each command's options as its `drovik-cli COMMAND --help` lists them (cli.completion checks
# that they agree); --help goes with every command. Before any command: the global ones.
_drovik_cli_options_of() {
  case $1 in
    "") REPLY="--data-dir --version" ;;
    list | report | printers) REPLY="--data-dir --json" ;;
    generate) REPLY="--data-dir -o" ;;
    migrate | register) REPLY="--data-dir --yes" ;;
    delete) REPLY="--data-dir" ;;
    decode-nvram) REPLY="--data-dir --all --nw --base --into --json" ;;
    send) REPLY="--data-dir --printer --parallel --ftp --timeout" ;;
    fetch) REPLY="--data-dir --ip --base --into --json" ;;
    diff) REPLY="--data-dir --ip --json" ;;
    discover) REPLY="--jobs --timeout --rate --json --plan --target-map --force --snmp-community
      --snmp-user --snmp-auth --snmp-priv --snmp-secret-file" ;;
    fleet) REPLY="--data-dir --jobs --password-file --timeout --dry-run --register" ;;
    history) REPLY="--data-dir --profile --target --since --operation --json" ;;
    *) REPLY="" ;;
  esac
}

# What the n-th operand (from 1) of a command is: profile, file or nothing.
_drovik_cli_operand_kind() {
  REPLY=""
  case $1 in
    generate | report | delete | send | migrate) [[ $2 == 1 ]] && REPLY="profile" ;;
    diff) [[ $2 == 1 || ($2 == 2 && $3 != yes) ]] && REPLY="profile" ;;
    dump | fleet) [[ $2 == 1 ]] && REPLY="file" ;;
  esac
}

# The word as the shell would pass it, without evaluating it: quotes and backslashes removed.
# REPLY holds the text, _drovik_cli_open_quote the quote still open at its end, if any.
_drovik_cli_dequote() {
  local word=$1 out="" quote="" c i
  for ((i = 0; i < ${#word}; i++)); do
    c=${word:i:1}
    if [[ $quote == "'" ]]; then
      if [[ $c == "'" ]]; then quote=""; else out+=$c; fi
    elif [[ $quote == '"' ]]; then
      if [[ $c == '"' ]]; then
        quote=""
      elif [[ $c == "\\" && ${word:i+1:1} == [\"\\\$\`] ]]; then
        out+=${word:i+1:1}
        ((i++))
      else
        out+=$c
      fi
    elif [[ $c == "'" || $c == '"' ]]; then
      quote=$c
    elif [[ $c == "\\" ]]; then
      out+=${word:i+1:1}
      ((i++))
    else
      out+=$c
    fi
  done
  REPLY=$out
  _drovik_cli_open_quote=$quote
}

# A path as typed, for running the program: dequoted, a leading ~/ the home folder.
_drovik_cli_path() {
  local typed=$1
  _drovik_cli_dequote "$typed"
  # shellcheck disable=SC2088 # the tilde as typed, not expanded
  if [[ $typed == "~" ]]; then
    REPLY=$HOME
  elif [[ $typed == "~/"* ]]; then
    REPLY=$HOME/${REPLY#\~/}
  fi
}

# A name quoted for the place it goes: inside an open quote, or as a word of its own with a
# backslash before each character the shell would read (bytes of multibyte text never are).
_drovik_cli_quote() {
  local name=$1 open=$2 out="" c i
  local special=$' \t\'"\\$`&;|<>()*?[]{}#~!^:='
  case $open in
    "'") REPLY=${name//\'/\'\\\'\'} ;;
    '"')
      for ((i = 0; i < ${#name}; i++)); do
        c=${name:i:1}
        [[ $c == [\"\\\$\`] ]] && out+="\\"
        out+=$c
      done
      REPLY=$out
      ;;
    *)
      for ((i = 0; i < ${#name}; i++)); do
        c=${name:i:1}
        [[ $special == *"$c"* ]] && out+="\\"
        out+=$c
      done
      REPLY=$out
      ;;
  esac
}

# The registered profiles whose names start with what is typed, from `drovik-cli list`.
_drovik_cli_profiles() {
  local cli=$1 dataDir=$2 typed=$3 line name open
  _drovik_cli_dequote "$typed"
  local prefix=$REPLY
  open=$_drovik_cli_open_quote
  local -a args=()
  [[ -n $dataDir ]] && args=(--data-dir "$dataDir")
  while IFS= read -r line; do
    name=${line%%$'\t'*}
    [[ -n $name && $name == "$prefix"* ]] || continue
    _drovik_cli_quote "$name" "$open"
    COMPREPLY+=("$REPLY")
  done < <("$cli" "${args[@]}" list 2>/dev/null </dev/null)
}

# Files (or folders only); readline quotes what it inserts.
_drovik_cli_files() {
  local kind=$1
  _drovik_cli_dequote "$2"
  compopt -o filenames 2>/dev/null
  mapfile -t COMPREPLY < <(compgen "$kind" -- "$REPLY")
}

_drovik_cli_value_of() {
  local option=$1 cli=$2 dataDir=$3 cur=$4
  case $option in
    -o | --all | --nw | --password-file | --plan | --target-map | --snmp-secret-file)
      _drovik_cli_files -f "$cur" ;;
    --snmp-auth) mapfile -t COMPREPLY < <(compgen -W "SHA SHA-256 MD5" -- "$cur") ;;
    --snmp-priv) mapfile -t COMPREPLY < <(compgen -W "AES DES" -- "$cur") ;;
    --data-dir) _drovik_cli_files -d "$cur" ;;
    --base | --into | --profile) _drovik_cli_profiles "$cli" "$dataDir" "$cur" ;;
  esac
}

_drovik_cli() {
  COMPREPLY=()
  local cword=$COMP_CWORD
  local cur=${COMP_WORDS[cword]}
  _drovik_cli_path "${COMP_WORDS[0]}"
  local cli=$REPLY
  local command="" dataDir="" expect="" operands=0 viaIp=no
  local -a used=()
  local i word
  for ((i = 1; i < cword; i++)); do
    word=${COMP_WORDS[i]}
    if [[ -n $expect ]]; then
      # "--data-dir=DIR" reaches us as three words when "=" breaks words.
      [[ $word == "=" ]] && continue
      if [[ $expect == --data-dir ]]; then
        _drovik_cli_path "$word"
        dataDir=$REPLY
      fi
      expect=""
    elif [[ $word == --*=* ]]; then
      used+=("${word%%=*}")
      if [[ ${word%%=*} == --data-dir ]]; then
        _drovik_cli_path "${word#*=}"
        dataDir=$REPLY
      fi
    elif [[ $word == -* ]]; then
      used+=("$word")
      [[ $word == --ip ]] && viaIp=yes
      [[ $_drovik_cli_value_options == *[[:space:]]"$word"[[:space:]]* ]] && expect=$word
    elif [[ -z $command ]]; then
      command=$word
    else
      ((operands++))
    fi
  done

  # The value of an option: "--base NAME", "--base=NAME" as one word or as three.
  if [[ -n $expect ]]; then
    [[ $cur == "=" ]] && cur=""
    _drovik_cli_value_of "$expect" "$cli" "$dataDir" "$cur"
    return 0
  fi
  if [[ $cur == --*=* ]]; then
    local option=${cur%%=*}
    _drovik_cli_value_of "$option" "$cli" "$dataDir" "${cur#*=}"
    local k
    for k in "${!COMPREPLY[@]}"; do COMPREPLY[k]=$option=${COMPREPLY[k]}; done
    return 0
  fi

  if [[ $cur == -* ]]; then
    _drovik_cli_options_of "$command"
    local offered="" option
    for option in --help $REPLY; do
      [[ " ${used[*]} " == *" $option "* ]] || offered+=" $option"
    done
    mapfile -t COMPREPLY < <(compgen -W "$offered" -- "$cur")
    return 0
  fi
  if [[ -z $command ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$_drovik_cli_commands" -- "$cur")
    return 0
  fi
  _drovik_cli_operand_kind "$command" $((operands + 1)) "$viaIp"
  case $REPLY in
    profile) _drovik_cli_profiles "$cli" "$dataDir" "$cur" ;;
    file) _drovik_cli_files -f "$cur" ;;
  esac
  return 0
}

complete -F _drovik_cli drovik-cli
