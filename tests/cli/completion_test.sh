#!/bin/bash
# The bash completion of drovik-cli, called as bash calls it (COMP_WORDS, COMP_CWORD), on data
# folders whose profiles the drovik-cli just built registers.
# Usage: completion_test.sh DROVIK_CLI COMPLETION_SCRIPT
set -u
cli=$1
export LC_ALL=C.UTF-8
# shellcheck source=/dev/null
source "$2"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

# Completes the last of the words, the first being the program as typed.
complete_words() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  _drovik_cli "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
}

# expect "WHAT" "CANDIDATE..." -- WORDS...: the candidates in any order, nothing else.
expect() {
  local what=$1
  shift
  local -a wanted=()
  while [[ $1 != -- ]]; do
    wanted+=("$1")
    shift
  done
  shift
  complete_words "$@"
  local got want
  got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort)
  want=$(printf '%s\n' "${wanted[@]}" | LC_ALL=C sort)
  if [[ $got != "$want" ]]; then
    echo "FAIL: $what"
    echo "  words:    $*"
    echo "  expected: $(printf '[%s] ' "${wanted[@]}")"
    echo "  got:      $(printf '[%s] ' "${COMPREPLY[@]}")"
    failures=$((failures + 1))
  fi
}

data="$tmp/data dir"
other="$tmp/other"
mkdir "$data" "$other" "$tmp/plans"
for name in "本社 経理部" "Office A" "帳票(1)"; do
  "$cli" --data-dir "$data" register "$name" || exit 1
done
"$cli" --data-dir "$other" register "別の設定" || exit 1
touch "$tmp/plans/plan a.csv" "$tmp/plans/pw"

typed_data=${data// /\\ }  # as typed at the prompt: data\ dir

# Commands and options.
expect "every command, history too" list generate report migrate register delete decode-nvram \
  dump printers send fetch diff discover fleet history -- "$cli" ""
expect "a command by its start" history -- "$cli" hi
expect "options before the command" --data-dir --help --version -- "$cli" -
expect "report's options" --data-dir --help --json -- "$cli" report -
expect "history's options" --help --profile --target --since --operation --json -- \
  "$cli" --data-dir "$typed_data" history --
expect "fleet's options" --data-dir --help --jobs --password-file --timeout --dry-run --register -- \
  "$cli" fleet plan.csv --
expect "the send routes" --parallel --printer -- "$cli" send X --p
expect "an option given once is not offered again" --data-dir --help -- "$cli" report X --json -
expect "no value is guessed for an address" -- "$cli" fetch --ip ""
expect "a new name is not completed" -- "$cli" --data-dir "$typed_data" register ""

# Profile names, from the --data-dir on the line, quoted for the shell.
expect "every profile, escaped" 'Office\ A' '本社\ 経理部' '帳票\(1\)' -- \
  "$cli" --data-dir "$typed_data" report ""
expect "multibyte start" '本社\ 経理部' -- "$cli" --data-dir "$typed_data" report 本
expect "escaped blank typed" 'Office\ A' -- "$cli" --data-dir "$typed_data" send 'Office\ '
expect "inside single quotes" '本社 経理部' -- "$cli" --data-dir "$typed_data" report "'本社 "
expect "inside double quotes" 'Office A' -- "$cli" --data-dir "$typed_data" delete '"Of'
expect "the folder quoted" '帳票\(1\)' -- "$cli" --data-dir "'$data'" generate 帳
expect "the other folder" '別の設定' -- "$cli" --data-dir "$other" report ""
expect "--data-dir=DIR as bash splits it" '別の設定' -- "$cli" --data-dir = "$other" diff A ""
expect "--data-dir=DIR as one word" '別の設定' -- "$cli" "--data-dir=$other" diff ""
expect "both sides of diff" '別の設定' -- "$cli" --data-dir "$other" diff 別の設定 ""
expect "diff --ip has one side" -- "$cli" --data-dir "$other" diff 別の設定 --ip 1.2.3.4 ""
expect "a second operand is no profile" -- "$cli" --data-dir "$other" report 別の設定 ""
expect "history --profile" '本社\ 経理部' -- "$cli" --data-dir "$typed_data" history --profile 本
expect "--base and --into" 'Office\ A' -- "$cli" --data-dir "$typed_data" fetch --base O
expect "--into=NAME" '--into=本社\ 経理部' -- "$cli" --data-dir "$typed_data" decode-nvram \
  --into=本
expect "a folder without profiles" -- "$cli" --data-dir "$tmp/plans" report ""
expect "a folder that does not exist" -- "$cli" --data-dir "$tmp/absent" report ""
LC_ALL=C expect "the C locale leaves the bytes as they are" '本社\ 経理部' -- \
  "$cli" --data-dir "$typed_data" report 本

# Files and folders.
expect "plan files" "$tmp/plans/plan a.csv" "$tmp/plans/pw" -- "$cli" fleet "$tmp/plans/p"
expect "the password file" "$tmp/plans/pw" -- "$cli" fleet x --password-file "$tmp/plans/pw"
expect "-o" "$tmp/plans/plan a.csv" -- "$cli" generate X -o "$tmp/plans/pl"
expect "--all and --nw" "$tmp/plans/plan a.csv" -- "$cli" decode-nvram --nw "$tmp/plans/plan\\ "
expect "dump" "$tmp/plans/pw" -- "$cli" dump "$tmp/plans/pw"
expect "only folders for --data-dir" "$data" -- "$cli" --data-dir "$tmp/data"
expect "a quoted folder" "$tmp/plans" -- "$cli" --data-dir "'$tmp/pl"

# The commands' declarations are the reference: `drovik-cli --help` names every command and
# the global options, `drovik-cli COMMAND --help` that command's options. The completion offers
# exactly those (-h being --help), and knows which of them take a value.
declared_commands=$("$cli" --help |
  sed -nE 's/^  drovik-cli (\[--data-dir DIR\] )?([a-z][a-z-]*).*/\2/p' | LC_ALL=C sort -u)
# The options section of a --help, one "NAME" or "NAME VALUE" a line.
declared_options() {
  "$cli" "$@" --help | awk '/^オプション:$/ { on = 1; next } /^$/ { on = 0 } on' |
    sed -E 's/^  //; s/  .*//; s/, /\n/g'
}
[[ -n $declared_commands ]] || {
  echo "FAIL: drovik-cli --help names no command"
  failures=$((failures + 1))
}
completed_commands=$(printf '%s\n' $_drovik_cli_commands | LC_ALL=C sort)
if [[ $completed_commands != "$declared_commands" ]]; then
  echo "FAIL: the completion's commands are not those of drovik-cli --help"
  diff <(echo "$declared_commands") <(echo "$completed_commands")
  failures=$((failures + 1))
fi
declared_values=""
for command in "" $declared_commands; do
  options=$(declared_options $command)
  mapfile -t names < <(awk '$1 != "-h" { print $1 }' <<<"$options")
  if [[ -z $command ]]; then
    expect "global options as declared" "${names[@]}" -- "$cli" -
  else
    expect "$command's options as declared" "${names[@]}" -- "$cli" "$command" -
  fi
  declared_values+=$(awk 'NF == 2 { print $1 }' <<<"$options")$'\n'
done
declared_values=$(printf '%s' "$declared_values" | grep . | LC_ALL=C sort -u)
completed_values=$(printf '%s\n' $_drovik_cli_value_options | LC_ALL=C sort -u)
if [[ $completed_values != "$declared_values" ]]; then
  echo "FAIL: the options that take a value are not those the commands declare"
  diff <(echo "$declared_values") <(echo "$completed_values")
  failures=$((failures + 1))
fi

if ((failures > 0)); then
  echo "$failures completion check(s) failed"
  exit 1
fi
echo "all completion checks passed"
