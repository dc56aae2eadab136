#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses the installed files as
# a lab would: the C example built with pkg-config and with find_package, the
# Python example, and the installed program itself, each against the
# calibrator simulator.
#   installed.sh <build folder> <source folder>
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
work=$(mktemp -d)
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }

# Every file a lab needs, where the package puts it.
private=$(dirname "$(readlink -f "$prefix/bin/KalibratorTalvo")")
for f in bin/KalibratorTalvo bin/talvo-schedule bin/talvo-calsim bin/talvo-convsim \
         include/SignalTalvo.h share/applications/kalibratortalvo.desktop \
         share/icons/hicolor/scalable/apps/kalibratortalvo.svg share/man/man1/KalibratorTalvo.1.gz share/man/man1/talvo-schedule.1.gz \
         share/kalibratortalvo/Templates/ExportTemplate.xlsx \
         "share/kalibratortalvo/Test Signals/balanced-nominal.usa" \
         share/doc/kalibratortalvo/examples/SetSignalExample.c \
         share/doc/kalibratortalvo/examples/set_signal_example.py; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done
libdir=$(dirname "$(find "$prefix" -name signaltalvo.pc -path '*/pkgconfig/*')")
libdir=$(dirname "$libdir")
pymodule=$(find "$prefix" -name signaltalvo.py)
[ -n "$pymodule" ] || fail "signaltalvo.py not installed"
[ -f "$libdir/libSignalTalvo.so" ] || fail "no public library in $libdir"
[ -f "$libdir/cmake/SignalTalvo/SignalTalvoConfig.cmake" ] || fail "no CMake package"
# The program's own folder: the real executable, the library as built (the
# program checks its digest), the shared data through links.
[ "$private" != "$prefix/bin" ] || fail "bin/KalibratorTalvo is no link to the program folder"
cmp -s "$private/libSignalTalvo.so" "$build/bin/libSignalTalvo.so" || fail "the program folder's library differs from the built one"
[ -f "$private/Templates/ExportTemplate.xlsx" ] || fail "Templates/ not reachable from the program folder"
[ -f "$private/Test Signals/harmonics-dips-flicker.usa" ] || fail "Test Signals/ not reachable from the program folder"

# The C example, built against the installed files only.
export PKG_CONFIG_PATH=$libdir/pkgconfig
cc=${CC:-cc}
# shellcheck disable=SC2046
"$cc" -std=c11 -o "$work/example-pkgconfig" "$prefix/share/doc/kalibratortalvo/examples/SetSignalExample.c" \
  $(pkg-config --cflags --libs signaltalvo) -ldl || fail "build with pkg-config"
[ "$(pkg-config --modversion signaltalvo)" = 2.4 ] || fail "pkg-config version"
cmake -S "$source/tests/packaging/consumer" -B "$work/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  -DEXAMPLE_SOURCE="$prefix/share/doc/kalibratortalvo/examples/SetSignalExample.c" >"$work/consumer.log" 2>&1 \
  && cmake --build "$work/consumer" >>"$work/consumer.log" 2>&1 || { cat "$work/consumer.log"; fail "build with find_package"; }

# The calibrator simulator on COM2 of a fresh settings folder.
export XDG_CONFIG_HOME=$work/config HOME=$work/home
mkdir -p "$HOME"
portdir="$XDG_CONFIG_HOME/Ostra/Калибратор Talvo/ports"
mkdir -p "$portdir"
"$prefix/bin/talvo-calsim" --port-dir "$portdir" --name COM2 --journal "$work/journal.jsonl" >"$work/calsim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do [ -e "$portdir/COM2" ] && break; sleep 0.05; done
[ -e "$portdir/COM2" ] || fail "the simulator did not start"

run() {  # run <what> <command...>: must exit 0 and report the signal set and stopped
  local what=$1; shift
  local out
  out=$("$@" 2>&1) || { echo "$out"; fail "$what exited non-zero"; }
  grep -q "SetSignal: ok" <<<"$out" && grep -q "StopSignal: ok" <<<"$out" || { echo "$out"; fail "$what"; }
  echo "ok: $what"
}
run "C example (pkg-config)" "$work/example-pkgconfig" "$libdir/libSignalTalvo.so" 2
run "C example (find_package)" "$work/consumer/consumer" "$libdir/libSignalTalvo.so" 2
# The module finds the library of its own prefix.
run "Python example" env -u SIGNALTALVO_LIBRARY PYTHONPATH="$(dirname "$pymodule")" \
  python3 "$prefix/share/doc/kalibratortalvo/examples/set_signal_example.py" 2

# The installed program binds the library of its folder and sets a signal.
out=$("$prefix/bin/KalibratorTalvo" -c SetSignal -t Sinus -cn COM2 \
      -p "$prefix/share/kalibratortalvo/Test Signals/balanced-nominal.usa" 2>&1) || { echo "$out"; fail "installed program"; }
grep -q "Передача выполнена" <<<"$out" || { echo "$out"; fail "installed program did not set the signal"; }
echo "ok: installed program"
# Two examples and the Python one each set and stop (7 frames), the program sets.
[ "$(grep -c . "$work/journal.jsonl")" -ge 21 ] || fail "the simulator saw too few frames"
