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

ma=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
dpkg-deb --contents "$deb" | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); print }' >"$work/contents"
for f in ./usr/bin/KalibratorTalvo ./usr/bin/talvo-schedule ./usr/bin/talvo-calsim ./usr/bin/talvo-convsim \
         ./usr/lib/kalibratortalvo/KalibratorTalvo ./usr/lib/kalibratortalvo/talvo-schedule \
         ./usr/lib/kalibratortalvo/libSignalTalvo.so ./usr/lib/kalibratortalvo/Templates \
         "./usr/lib/kalibratortalvo/Test Signals" ./usr/include/SignalTalvo.h "./usr/lib/$ma/libSignalTalvo.so" \
         "./usr/lib/$ma/pkgconfig/signaltalvo.pc" "./usr/lib/$ma/cmake/SignalTalvo/SignalTalvoConfig.cmake" \
         "./usr/lib/$ma/cmake/SignalTalvo/SignalTalvoConfigVersion.cmake" \
         "./usr/lib/$ma/cmake/SignalTalvo/SignalTalvoTargets.cmake" \
         ./usr/lib/python3/dist-packages/signaltalvo.py ./usr/share/applications/kalibratortalvo.desktop \
         ./usr/share/icons/hicolor/scalable/apps/kalibratortalvo.svg ./usr/share/man/man1/KalibratorTalvo.1.gz \
         ./usr/share/man/man1/talvo-schedule.1.gz ./usr/share/man/man1/talvo-calsim.1.gz \
         ./usr/share/man/man1/talvo-convsim.1.gz \
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
entry=$work/root/usr/share/applications/kalibratortalvo.desktop
desktop-file-validate "$entry" || fail "desktop entry"
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$work/root/usr/bin/$program" ] || fail "the menu entry starts $program, which is not in /usr/bin"
# A machine with the dependencies' sources installs the package.
apt-get install --simulate -q "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get cannot install the package"; }
for page in "$work"/root/usr/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 "$page" 2>&1 >"$work/man.txt") \
    || fail "man -l $(basename "$page")"
  [ -z "$warnings" ] || { echo "$warnings"; fail "warnings of $(basename "$page")"; }
done
LC_ALL=C.UTF-8 MANWIDTH=80 man -l -Tutf8 "$work/root/usr/share/man/man1/KalibratorTalvo.1.gz" >"$work/man.txt"
# Bold and underline come as overstrikes: drop them before looking at the text.
sed 's/.\x08//g' "$work/man.txt" >"$work/man.plain"
grep -q "^EXIT STATUS" "$work/man.plain" || fail "man page did not render"

echo "--- lintian"
lintian --tag-display-limit 0 --allow-root "$deb" >"$work/lintian.txt" 2>&1 || true
cat "$work/lintian.txt"
if grep -q '^E: ' "$work/lintian.txt"; then fail "lintian errors"; fi
echo "ok: package"
