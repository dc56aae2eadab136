#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks it: every file
# in place, dependencies computed, lintian without errors (its remarks are
# printed), the desktop entry valid, the man page rendering without warnings.
#   deb.sh <build folder>
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(find "$work/out" -maxdepth 1 -name '*.deb')
[ -n "$deb" ] || fail "no .deb made"
echo "package: $(basename "$deb")"

dpkg-deb --contents "$deb" | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); print }' >"$work/contents"
for f in ./usr/bin/KalibratorTalvo ./usr/bin/talvo-schedule ./usr/bin/talvo-calsim ./usr/bin/talvo-convsim \
         ./usr/lib/kalibratortalvo/KalibratorTalvo ./usr/lib/kalibratortalvo/talvo-schedule \
         ./usr/lib/kalibratortalvo/libSignalTalvo.so ./usr/lib/kalibratortalvo/Templates \
         "./usr/lib/kalibratortalvo/Test Signals" ./usr/include/SignalTalvo.h ./usr/lib/libSignalTalvo.so \
         ./usr/lib/pkgconfig/signaltalvo.pc ./usr/lib/cmake/SignalTalvo/SignalTalvoConfig.cmake \
         ./usr/lib/cmake/SignalTalvo/SignalTalvoConfigVersion.cmake ./usr/lib/cmake/SignalTalvo/SignalTalvoTargets.cmake \
         ./usr/lib/python3/dist-packages/signaltalvo.py ./usr/share/applications/kalibratortalvo.desktop \
         ./usr/share/icons/hicolor/scalable/apps/kalibratortalvo.svg ./usr/share/man/man1/KalibratorTalvo.1.gz \
         ./usr/share/kalibratortalvo/Templates/ExportTemplate.xlsx \
         "./usr/share/kalibratortalvo/Test Signals/balanced-nominal.usa" \
         "./usr/share/kalibratortalvo/Test Signals/harmonics-dips-flicker.usa" \
         ./usr/share/doc/kalibratortalvo/copyright ./usr/share/doc/kalibratortalvo/changelog.gz \
         ./usr/share/doc/kalibratortalvo/examples/SetSignalExample.c \
         ./usr/share/doc/kalibratortalvo/examples/set_signal_example.py; do
  grep -qxF -- "$f" "$work/contents" || grep -qF -- "$f -> " "$work/contents" || { cat "$work/contents"; fail "not in the package: $f"; }
done
grep -qF -- "./usr/bin/KalibratorTalvo -> ../lib/kalibratortalvo/KalibratorTalvo" "$work/contents" \
  || fail "bin/KalibratorTalvo does not link to the program folder"
depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
grep -q "libc6" <<<"$depends" && grep -q "libqt6widgets6" <<<"$depends" || fail "dependencies not computed from the binaries"

dpkg-deb -x "$deb" "$work/root"
cmp -s "$work/root/usr/lib/kalibratortalvo/libSignalTalvo.so" "$build/bin/libSignalTalvo.so" \
  || fail "the program folder's library is not the one the program was built with"
desktop-file-validate "$work/root/usr/share/applications/kalibratortalvo.desktop" || fail "desktop entry"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 "$work/root/usr/share/man/man1/KalibratorTalvo.1.gz" 2>&1 >"$work/man.txt") \
  || fail "man -l"
[ -z "$warnings" ] || { echo "$warnings"; fail "man page warnings"; }
grep -q "EXIT STATUS" "$work/man.txt" || fail "man page did not render"

echo "--- lintian"
lintian --no-tag-display-limit --allow-root "$deb" >"$work/lintian.txt" 2>&1 || true
cat "$work/lintian.txt"
if grep -q '^E: ' "$work/lintian.txt"; then fail "lintian errors"; fi
echo "ok: package"
