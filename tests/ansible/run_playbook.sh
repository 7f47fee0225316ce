#!/usr/bin/env bash
# Runs docs/ansible/fleet.yml twice on this machine as three site hosts (ansible_connection
# local): two sites with printers simulated on loopback addresses, one with a plan drovik-cli
# refuses. Checks each row's result, the collected files, that the second run skips what the
# first completed, and that the FTP password, kept in Ansible Vault, shows up nowhere.
# Usage: run_playbook.sh DROVIK_CLI SOURCE_DIR
set -euo pipefail
cli=$1
source_dir=$2
skip() {
  echo "SKIP: $*"
  exit 77
}
command -v ansible-playbook >/dev/null || skip "ansible-playbook is not installed (Debian package ansible-core)"
[ "$(id -u)" -eq 0 ] || skip "the printer simulators listen on port 21, which needs root"

work=$(mktemp -d)
simulators=()
cleanup() {
  for pid in "${simulators[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  for out in "$work"/run*.out; do [ -f "$out" ] && { echo "== $out"; tail -n 80 "$out"; }; done
  exit 1
}

random_loopback() { echo "127.$((RANDOM % 250 + 2)).$((RANDOM % 250 + 2)).$((RANDOM % 250 + 2))"; }

# start_printers NAME GREETING PASSWORD COUNT: a simulator with COUNT addresses, serving the
# test images from $work/NAME; sets the array addresses. Another test may hold an address
# already: the simulator then exits with 3 and other addresses are tried.
start_printers() {
  local name=$1 greeting=$2 password=$3 count=$4 i
  mkdir -p "$work/$name/pr_setup"
  cp "$source_dir/tests/data/corpus/nvram/rnvr_all_1758.bin" "$work/$name/pr_setup/nvr_all.bin"
  cp "$source_dir/tests/data/corpus/nvram/rnvr_nw_13.bin" "$work/$name/pr_setup/nvr_nw.bin"
  for _ in {1..10}; do
    addresses=()
    for ((i = 0; i < count; i++)); do addresses+=("$(random_loopback)"); done
    local args=(--address "${addresses[0]}" --root "$work/$name" --greeting "$greeting"
      --password "$password")
    for a in "${addresses[@]:1}"; do args+=(--also-address "$a"); done
    : >"$work/$name.out"
    /usr/bin/python3 "$source_dir/tests/peers/printer_sim.py" "${args[@]}" \
      >"$work/$name.out" 2>"$work/$name.err" &
    local pid=$!
    for ((i = 0; i < 100; i++)); do
      grep -q ready "$work/$name.out" && {
        simulators+=("$pid")
        return
      }
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    local status=0
    wait "$pid" || status=$?
    [ "$status" -eq 3 ] || fail "printer simulator $name did not start: $(cat "$work/$name.err")"
  done
  fail "no free loopback address for printer simulator $name"
}

password="Fleet-Pw-$RANDOM$RANDOM"
start_printers old "8630-H05 FTP server ready." "$password" 2
old_a=${addresses[0]} old_b=${addresses[1]}
start_printers new "8630-M FTP server ready." "" 3
new_a1=${addresses[0]} new_a2=${addresses[1]} new_b1=${addresses[2]}
unreachable=$(random_loopback)  # nothing listens there: the row fails at once

# The example's playbook and group variables, with this test's inventory and vault.
cp -r "$source_dir/docs/ansible" "$work/ansible"
rm -rf "$work/ansible/host_vars" "$work/ansible/inventory.yml" "$work/ansible/collected"
mkdir -p "$work/plans" "$work/tmp" "$work/sites"
printf 'name,old_printer,new_target\n東京本社,%s,ftp:%s\n東京工場,%s,ftp:%s\n' \
  "$old_a" "$new_a1" "$old_a" "$new_a2" >"$work/plans/tokyo.csv"
printf 'name,old_printer,new_target\n大阪支社,%s,ftp:%s\n大阪倉庫,%s,ftp:%s\n' \
  "$old_b" "$new_b1" "$unreachable" "$(random_loopback)" >"$work/plans/osaka.csv"
printf 'name,old_printer,new_target\n名古屋,300.1.1.1,parallel\n' >"$work/plans/nagoya.csv"
site() {
  cat <<HOST
    $1:
      ansible_connection: local
      ansible_python_interpreter: /usr/bin/python3
      drovik_fleet_plan: $work/plans/$2.csv
      drovik_fleet_dir: $work/sites/$1/work
      drovik_data_dir: $work/sites/$1/data
      drovik_fleet_args: [--timeout, "5"]
HOST
  mkdir -p "$work/sites/$1/data"
}
{
  echo "printer_sites:"
  echo "  vars: {drovik_cli: $cli}"
  echo "  hosts:"
  site site-a tokyo
  site site-b osaka
  site site-c nagoya
} >"$work/ansible/inventory.yml"

export LC_ALL=C.UTF-8 TMPDIR="$work/tmp" ANSIBLE_HOME="$work/ansible-home"
export ANSIBLE_LOCAL_TEMP="$work/ansible-home/tmp" ANSIBLE_REMOTE_TEMP="$work/ansible-home/remote"
export ANSIBLE_LOG_PATH="$work/ansible.log" ANSIBLE_NOCOLOR=1
(umask 077 && echo "vault-$RANDOM$RANDOM" >"$work/vault-password")
printf '%s' "$password" | ansible-vault encrypt_string --vault-password-file "$work/vault-password" \
  --stdin-name vault_drovik_ftp_password >"$work/ansible/group_vars/printer_sites/vault.yml" \
  2>/dev/null || fail "ansible-vault encrypt_string failed"

# A row of an earlier run keeps its archive; whatever is there is collected as it is.
mkdir -p "$work/sites/site-a/work/tokyo.archive/以前の行"
echo "earlier" >"$work/sites/site-a/work/tokyo.archive/以前の行/note.txt"

run_playbook() {
  local status=0
  (cd "$work/ansible" && ansible-playbook -vvv -i inventory.yml \
    --vault-password-file "$work/vault-password" fleet.yml) >"$work/$1.out" 2>&1 || status=$?
  # 2: some host failed, as site-b (one row) and site-c (its plan) do.
  [ "$status" -eq 2 ] || fail "$1: ansible-playbook ended with status $status, not 2"
  # The task holding the password sends its module through a pipe: no file with it on the site.
  sed -n '/^TASK \[Run drovik-cli fleet\]/,/^TASK /p' "$work/$1.out" | grep -q '^<site-.> PUT ' &&
    fail "$1: the module with the password was written to a file on a site host"
  grep -q '^TASK \[Run drovik-cli fleet\]' "$work/$1.out" || fail "$1: drovik-cli was not run"
}
# expect RUN OUTCOME HOST ROW: the row's task result was OUTCOME (changed, ok, failed).
expect() {
  local prefix="$2: [$3] => (item=$4 "
  [ "$2" = failed ] && prefix="failed: [$3] (item=$4 "
  grep -qF "$prefix" "$work/$1.out" || fail "$1: row $4 of $3 is not $2"
}
# expect_rows RUN OUTCOME: the three rows that can complete show OUTCOME; the one whose old
# printer nobody answers for fails in every run.
expect_rows() {
  expect "$1" "$2" site-a 東京本社
  expect "$1" "$2" site-a 東京工場
  expect "$1" "$2" site-b 大阪支社
  expect "$1" failed site-b 大阪倉庫
}
# recap RUN HOST FIELDS: the play recap's line for HOST has these counts.
recap() {
  grep -E "^$2 +: .*$3" "$work/$1.out" >/dev/null || fail "$1: recap of $2 is not $3"
}

run_playbook run1
expect_rows run1 changed
recap run1 site-a "failed=0"
recap run1 site-b "failed=1"
recap run1 site-c "failed=1"
grep -E '"msg": "drovik-cli fleet ended with status 2: .*300\.1\.1\.1' "$work/run1.out" >/dev/null ||
  fail "site-c's refusal is not shown with the bad address"

collected="$work/ansible/collected"
python3 - "$collected" "$work/new/rsic_cmd.bin" <<'PY' || fail "collected result files"
import hashlib, json, sys
collected, upload = sys.argv[1], sys.argv[2]
def rows(path):
    return {row["name"]: row for row in json.load(open(path))["rows"]}
tokyo = rows(collected + "/site-a/tokyo.result.json")
osaka = rows(collected + "/site-b/osaka.result.json")
sent = hashlib.sha256(open(upload, "rb").read()).hexdigest()
for row in (tokyo["東京本社"], tokyo["東京工場"], osaka["大阪支社"]):
    assert row["status"] == "completed", row
    assert row["steps"][4]["sha256"] == sent, row
dead = osaka["大阪倉庫"]
assert dead["status"] == "failed" and dead["steps"][0]["outcome"] == "failed", dead
PY
[ ! -e "$collected/site-c" ] || fail "site-c's refused run left collected files"
# A site's archive comes back as it is there; none comes back from a site without one.
for site in site-a/tokyo site-b/osaka; do
  archive="$work/sites/${site%/*}/work/${site#*/}.archive"
  copy="$collected/${site%/*}/${site#*/}.archive"
  if [ -d "$archive" ]; then
    diff -r "$archive" "$copy" >/dev/null || fail "the collected archive differs from $archive"
  else
    [ ! -e "$copy" ] || fail "$copy was collected from a site without an archive"
  fi
done

# Again: the completed rows are skipped and show ok, the failed row is retried and fails.
rm "$work/new/rsic_cmd.bin"
run_playbook run2
expect_rows run2 ok
recap run2 site-a "changed=0 +unreachable=0 +failed=0"
[ ! -e "$work/new/rsic_cmd.bin" ] || fail "run2 sent a completed row again"

leaks=$(grep -rlF -- "$password" "$work" || true)
[ -z "$leaks" ] || fail "the FTP password is written in: $leaks"
echo "ansible fleet playbook: 2 runs over 3 sites passed"
