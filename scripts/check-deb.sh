#!/usr/bin/env bash
# Builds the Debian package from the release build and checks what it holds.
# usage: scripts/check-deb.sh [BUILD_DIR]
set -euo pipefail
build="${1:-$(cd "$(dirname "$0")/.." && pwd)/build/release}"
(cd "$build" && rm -f zelkora_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/zelkora_*_*.deb)
echo "package: $deb"
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
status=0
for f in ./usr/bin/zelkora ./usr/bin/zelkora-cli ./usr/share/zelkora/Help/zelkora.htm \
         ./usr/share/applications/zelkora.desktop ./usr/share/mime/packages/zelkora.xml \
         ./usr/share/icons/hicolor/scalable/apps/zelkora.svg ./usr/share/icons/hicolor/48x48/apps/zelkora.png; do
  if ! grep -qx "$f" <<< "$files"; then echo "missing from the package: $f" >&2; status=1; fi
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6svg6 qt6-qpa-plugins qt6-translations-l10n fonts-ipafont-gothic; do
  if ! grep -q "$d" <<< "$depends"; then echo "not a dependency: $d" >&2; status=1; fi
done
[ $status -eq 0 ] && echo "package contents and dependencies are complete"
exit $status
