#!/usr/bin/env bash
# The Python example on the built library (named by $SIGNALTALVO_LIBRARY),
# against the calibrator simulator; then a port without a device.
#   python_example.sh <folder of the built programs> <source folder>
set -euo pipefail
bin=$(realpath "$1")
source=$(realpath "$2")
work=$(mktemp -d)
sim_pid=""
trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config SIGNALTALVO_LIBRARY=$bin/libSignalTalvo.so PYTHONPATH=$source/SignalLib/python
portdir="$XDG_CONFIG_HOME/Ostra/Калибратор Talvo/ports"
mkdir -p "$portdir"
"$bin/talvo-calsim" --port-dir "$portdir" --name COM2 --journal "$work/journal.jsonl" >/dev/null 2>&1 &
sim_pid=$!
for _ in $(seq 100); do [ -e "$portdir/COM2" ] && break; sleep 0.05; done
out=$(python3 "$source/SignalLib/examples/set_signal_example.py" 2) || { echo "$out"; exit 1; }
echo "$out"
grep -q "^SignalTalvo 2\.4$" <<<"$out"
grep -q "phase A: 220.000 V, 5.000 A, P = 1100.0 W" <<<"$out"
grep -q "StopSignal: ok" <<<"$out"
# COM3 has no device: the library's code and its text come back, the example fails.
if out=$(python3 "$source/SignalLib/examples/set_signal_example.py" 3); then echo "$out"; exit 1; fi
echo "$out"
grep -q "^CheckPort: error [0-9]*: ." <<<"$out"
