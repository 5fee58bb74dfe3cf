#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A real one-node Slurm cluster, brought up and taken down by this script:
# munged, slurmctld and slurmd with their own configuration, sockets, ports
# and state in a temporary folder. The job array of scripts/slurm checks a
# generated corpus in shards, the merge job joins the parts, and the merged
# output and exit status must equal one brindle-scan over the whole corpus,
# byte for byte. Daemons that cannot start fail the test, loudly.
#   slurm_one_node_test.sh BRINDLE_SCAN SOURCE_DIR
set -uo pipefail
scan=$(realpath "$1")
slurm_scripts=$(realpath "$2/scripts/slurm")

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# slurmd launches jobs as their owner, which needs root. A developer's own
# account skips the test (ctest's skip code); CI runs as root and runs it.
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: the one-node Slurm cluster needs root (this is $(id -un))" >&2
    exit 77
fi
for program in munged mungekey slurmctld slurmd sbatch sinfo scancel; do
    command -v "$program" >/dev/null ||
        fail "$program is not installed: scripts/setup-debian.sh installs slurm-wlm and munge"
done

work=$(mktemp -d /tmp/brindle-slurm.XXXXXX) || fail "no temporary folder"
# munged wants every folder above its socket open to all.
chmod 755 "$work"
export SLURM_CONF=$work/slurm.conf

show_logs() {
    for log in "$work"/log/*.log; do
        [ -f "$log" ] || continue
        echo "--- last lines of $log" >&2
        tail -n 15 "$log" >&2
    done
}

jobs_submitted=()
stop_all() {
    local status=$?
    if ((${#jobs_submitted[@]})); then
        scancel "${jobs_submitted[@]}" 2>/dev/null
    fi
    # Only the daemons this script started, by their own process ids.
    local pids=()
    for daemon in slurmd slurmctld munged; do
        [ -s "$work/$daemon.pid" ] && pids+=("$(cat "$work/$daemon.pid")")
    done
    if ((${#pids[@]})); then
        kill "${pids[@]}" 2>/dev/null
        for _ in $(seq 100); do
            kill -0 "${pids[@]}" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "${pids[@]}" 2>/dev/null
    fi
    ((status == 0)) || show_logs
    rm -rf "$work"
    exit "$status"
}
trap stop_all EXIT
trap 'exit 1' INT TERM

mkdir -p "$work/log" "$work/state" "$work/spool" "$work/corpus" "$work/parts" ||
    fail "cannot make the cluster's folders"

# Ports nobody listens on now.
read -r ctld_port slurmd_port < <(python3 -c '
import socket
socks = [socket.socket() for _ in range(2)]
for s in socks:
    s.bind(("127.0.0.1", 0))
print(*[s.getsockname()[1] for s in socks])') || fail "no free ports"
host=$(hostname -s)
cat >"$SLURM_CONF" <<CONF
ClusterName=brindletest
SlurmctldHost=$host(127.0.0.1)
SlurmUser=root
SlurmdUser=root
SlurmctldPort=$ctld_port
SlurmdPort=$slurmd_port
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$work/munge.socket
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/log/slurmctld.log
SlurmdLogFile=$work/log/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
MpiDefault=none
ReturnToService=2
NodeName=brindle1 NodeHostname=$host NodeAddr=127.0.0.1 CPUs=$(nproc) State=UNKNOWN
PartitionName=brindle Nodes=brindle1 Default=YES MaxTime=INFINITE State=UP
CONF

mungekey -c -k "$work/munge.key" || fail "mungekey could not make a key"
munged --socket="$work/munge.socket" --key-file="$work/munge.key" \
    --pid-file="$work/munged.pid" --log-file="$work/log/munged.log" \
    --seed-file="$work/munged.seed" || fail "munged did not start"
slurmctld -i || fail "slurmctld did not start"
slurmd -N brindle1 || fail "slurmd did not start"

ready=no
for _ in $(seq 120); do
    if [ "$(sinfo -h -n brindle1 -o %T 2>/dev/null)" = idle ]; then
        ready=yes
        break
    fi
    sleep 0.5
done
[ $ready = yes ] || fail "the Slurm node never became idle: $(sinfo -h -o '%T %E' 2>&1)"

# The corpus: good texts of many sizes, some cut short by a NUL, some with
# strange letter pairs, in nested folders, with a space, a TAB and a byte
# that is not UTF-8 in some names.
python3 - "$work/corpus" <<'PY' || fail "cannot make the corpus"
import os, random, sys
root = os.fsencode(sys.argv[1])
rng = random.Random(5)
line = b"The quick brown fox jumps over the lazy dog and then the cat sat on the mat.\r\n"
odd = b"zyzzyva quixotic jazz buzz fizz\r\n"
os.makedirs(root + b"/refs")
with open(root + b"/refs/good.txt", "wb") as f:
    f.write(line * 80)
names = [b"plain", b"with space", b"tab\there", b"latin\xe9name", b"back\\slash"]
for i in range(120):
    folder = root + b"/data/%d/%d" % (i % 4, i % 3)
    os.makedirs(folder, exist_ok=True)
    body = line * rng.randint(1, 200)
    if i % 7 == 1:
        body = body[:30] + b"\0" + body[31:]
    if i % 7 == 3:
        body += odd * rng.randint(20, 60)
    with open(folder + b"/" + names[i % len(names)] + b"%03d.txt" % i, "wb") as f:
        f.write(body)
PY

cd "$work" || fail "cannot enter $work"
options=(-s -d -r corpus/refs/good.txt)
"$scan" --no-progress "${options[@]}" corpus/data >whole.out 2>whole.err
whole_status=$?
[ $whole_status -eq 1 ] || fail "one brindle-scan over the corpus exited $whole_status: $(cat whole.err)"
[ -s whole.out ] || fail "one brindle-scan over the corpus found nothing to compare"

# As the README shows: the list once, the profile once, then the array and
# the merge after it.
"$scan" --list -0 -s corpus/data >corpus.list || fail "--list failed"
"$scan" -r corpus/refs/good.txt --save-profile refs.profile || fail "--save-profile failed"
shards=5
array_job=$(sbatch --parsable --array=1-$shards --export=ALL,BRINDLE_SCAN="$scan" \
    "$slurm_scripts/brindle-scan-array.sbatch" parts -s -d --profile refs.profile \
    -0 --files-from corpus.list) || fail "sbatch refused the array"
jobs_submitted+=("${array_job%%;*}")
merge_job=$(sbatch --parsable --dependency=afterany:"${array_job%%;*}" -o merge.log \
    "$slurm_scripts/brindle-scan-merge.sh" parts $shards merged.out) ||
    fail "sbatch refused the merge"
jobs_submitted+=("${merge_job%%;*}")

# Wait for the merge (it runs after every task), within bounds.
finished=no
for _ in $(seq 240); do
    state=$(scontrol show job "${merge_job%%;*}" 2>/dev/null | grep -o 'JobState=[A-Z_]*')
    case $state in
    JobState=COMPLETED | JobState=FAILED | JobState=CANCELLED | JobState=TIMEOUT | JobState=NODE_FAIL)
        finished=yes
        break
        ;;
    esac
    sleep 0.5
done
[ $finished = yes ] || fail "the merge job did not finish within two minutes ($state)"
merge_status=$(scontrol show job "${merge_job%%;*}" | grep -o ' ExitCode=[0-9]*' | cut -d= -f2)

for k in $(seq $shards); do
    [ -f "parts/part-$k.status" ] || fail "shard $k wrote no part"
done
cmp whole.out merged.out || fail "the merged output differs from one brindle-scan's output"
[ "$merge_status" = "$whole_status" ] ||
    fail "the merge exited $merge_status, one brindle-scan $whole_status"
# The merge alone, run by hand, agrees, and the error lines follow shard order.
"$slurm_scripts/brindle-scan-merge.sh" parts $shards >by-hand.out 2>by-hand.err
[ $? -eq "$whole_status" ] || fail "the merge run by hand gave another status"
cmp whole.out by-hand.out || fail "the merge run by hand gave other output"
cmp whole.err by-hand.err || fail "the merged error lines differ from one brindle-scan's"
echo "the merged output of $shards shards on Slurm equals one brindle-scan's"
