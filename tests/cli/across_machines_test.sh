#!/usr/bin/env bash
# Runs both recipes across machines of docs/many-models.md, as the page spells
# them, through an sshd that this test starts on 127.0.0.1 and stops: with
# shared folders, and copying each job's models there and the outputs back.
# The other machine is a login whose home is a folder of the test and whose
# PATH finds a morvane-cli that counts the jobs run there; a job that did not
# get its models copied fails. Each output must sit at its model's
# place and equal a single rewrite, none missing and none more, and copying
# must leave nothing behind in the other machine's home.
# sshd takes only the test's own key, for the user running the test (root
# in CI, without a password), from a configuration of the test's own.
# Usage: across_machines_test.sh MORVANE_CLI SOURCE_DIR
set -euo pipefail
cli=$(realpath "$1") source=$(realpath "$2")
# Under /tmp, as ssh's control socket needs a short name without spaces.
work=$(mktemp -d /tmp/morvane-across.XXXXXX)
server=""
stop_server() {
    if [ -S "$work/control" ]; then
        ssh -F none -o ControlPath="$work/control" -O exit 127.0.0.1 2>/dev/null || true
    fi
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap stop_server EXIT
trap 'exit 1' HUP INT TERM
cd "$work"
. "$source/tests/cli/many_models_tree.sh"

sshd=$(PATH=$PATH:/usr/sbin:/sbin command -v sshd) ||
    fail "sshd is missing: install Debian's openssh-server (scripts/setup test does)"
command -v rsync >/dev/null || fail "rsync is missing: scripts/setup test installs it"

# sshd run by root keeps its unprivileged half in this empty folder, which
# the system makes at boot where sshd is a service.
if [ "$(id -u)" = 0 ] && [ ! -d /run/sshd ]; then
    mkdir -m 0755 /run/sshd
    echo "made /run/sshd, the folder sshd run by root needs" >&2
fi

ssh-keygen -q -t ed25519 -N '' -C host -f host_key
ssh-keygen -q -t ed25519 -N '' -C user -f user_key
cp user_key.pub authorized_keys
# GNU parallel keeps what it learns of a machine in this side's home.
mkdir here home bin
export HOME=$work/here
# Each job that runs there says so.
cat >bin/morvane-cli <<EOF
#!/bin/sh
echo job >>$(printf '%q' "$work/jobs-run-there")
exec $(printf '%q' "$cli") "\$@"
EOF
chmod +x bin/morvane-cli
# The login's shell starts in its home and reads its own startup files there
# (none), never the user's.
cat >sshd_config <<EOF
ListenAddress 127.0.0.1
HostKey "$work/host_key"
AuthorizedKeysFile "$work/authorized_keys"
PermitRootLogin prohibit-password
PubkeyAuthentication yes
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
PidFile none
SetEnv "HOME=$work/home" "PATH=$work/bin:/usr/bin:/bin"
ForceCommand cd "\$HOME" && exec "\$SHELL" -c "\$SSH_ORIGINAL_COMMAND"
EOF

# A free port is found by taking one: sshd says when it listens (its lines
# end in CR LF), or exits when the port is taken. Should the test be killed,
# sshd goes with it.
start_server() {
    local deadline
    for _ in $(seq 1 20); do
        port=$(shuf -i 20000-60999 -n 1)
        : >sshd.log
        setpriv --pdeathsig TERM -- "$sshd" -D -e -f sshd_config -p "$port" 2>>sshd.log &
        server=$!
        deadline=$((SECONDS + 60))
        while kill -0 "$server" 2>/dev/null; do
            if tr -d "\r" <sshd.log | grep -qxF "Server listening on 127.0.0.1 port $port."; then
                return
            fi
            [ "$SECONDS" -lt "$deadline" ] || { cat sshd.log >&2; fail "sshd did not listen"; }
            sleep 0.05
        done
        wait "$server" || true
        server=""
        grep -q 'Address already in use' sshd.log || { cat sshd.log >&2; fail "sshd did not start"; }
    done
    fail "no free port found for sshd"
}
start_server
echo "[127.0.0.1]:$port $(cat host_key.pub)" >known_hosts

# GNU parallel and rsync reach the other machine with this command, each
# connection through one that is kept open a few seconds.
ssh_options=(
    -F none -p "$port" -i "$work/user_key" -o IdentitiesOnly=yes -o BatchMode=yes
    -o ConnectTimeout=30 -o UserKnownHostsFile="$work/known_hosts" -o StrictHostKeyChecking=yes
    -o ControlMaster=auto -o ControlPath="$work/control" -o ControlPersist=5
)
export PARALLEL_SSH="ssh ${ssh_options[*]}"
$PARALLEL_SSH 127.0.0.1 true || { cat sshd.log >&2; fail "cannot log in to the test's sshd"; }

make_tree
job_list=$(block_with 4 '>jobs.list')
shared_recipe=$(block_with 7 '--workdir "$PWD"')
copying_recipe=$(block_with 8 '--transferfile')
[[ $shared_recipe == *'-S :,build1,build2 '* && $copying_recipe == *'-S build1,build2 '* ]] ||
    fail "the recipes across machines name other machines than the page's text expects"
cp -a models originals

run_across() {
    local name=$1 text=$2 status=0 jobs
    bash -c "$job_list"
    : >jobs-run-there
    bash -c "$text" 2>said.txt || status=$?
    nothing_injected "the $name recipe"
    jobs=$(($(tr -cd '\0' <jobs.list | wc -c) / 2))
    [ "$(wc -l <jobs-run-there)" = "$jobs" ] ||
        fail "the $name recipe ran $(wc -l <jobs-run-there) of its $jobs jobs on the other machine"
    holds_exactly out ref "${all[@]}"
    holds_exactly models originals "${all[@]}" textures/wood.png
    said_only wrote said.txt
    [ "$status" = 0 ] || fail "the $name recipe exited with status $status"
    rm -rf out jobs.list
}
# Every job goes to the other machine: this one is not among the sshlogins.
run_across "shared folders" "${shared_recipe/-S :,build1,build2 /-S 127.0.0.1 }"
run_across copying "${copying_recipe/-S build1,build2 /-S 127.0.0.1 }"
left=$(cd home && find . ! -type d)
[ -z "$left" ] || fail "copying left files on the other machine: $left"
echo "PASS"
