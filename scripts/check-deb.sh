#!/usr/bin/env bash
# Builds the Debian package from the release build, checks what it holds and has lintian
# check it as Debian checks its own packages: any error or warning fails.
# usage: scripts/check-deb.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build/release}"
"$here/install-deps.sh" --package
(cd "$build" && rm -f zelkora_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/zelkora_*_*.deb)
echo "package: $deb"
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
status=0
for f in ./usr/bin/zelkora ./usr/bin/zelkora-cli ./usr/share/zelkora/Help/zelkora.htm \
         ./usr/share/applications/zelkora.desktop ./usr/share/mime/packages/zelkora.xml \
         ./usr/share/icons/hicolor/scalable/apps/zelkora.svg ./usr/share/icons/hicolor/48x48/apps/zelkora.png \
         ./usr/share/man/man1/zelkora.1.gz ./usr/share/man/man1/zelkora-cli.1.gz \
         ./usr/share/doc/zelkora/changelog.gz ./usr/share/doc/zelkora/copyright \
         ./usr/share/lintian/overrides/zelkora ./usr/share/zelkora/web/index.html \
         ./usr/share/zelkora/web/zelkora-core.wasm; do
  if ! grep -qx "$f" <<< "$files"; then echo "missing from the package: $f" >&2; status=1; fi
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in "libqt6widgets6 (>= 6" libqt6svg6 qt6-qpa-plugins qt6-translations-l10n fonts-ipafont-gothic; do
  if ! grep -qF "$d" <<< "$depends"; then echo "not a dependency: $d" >&2; status=1; fi
done
recommends=$(dpkg-deb -f "$deb" Recommends)
for r in xdg-utils www-browser; do
  if ! grep -qF "$r" <<< "$recommends"; then echo "not recommended: $r" >&2; status=1; fi
done
[ $status -eq 0 ] && echo "package contents and dependencies are complete"

# lintian prints every tag it finds, infos and pedantic ones too; errors and warnings fail.
lintian_status=0
tags=$(lintian --pedantic --display-info --fail-on error,warning "$deb" 2>&1) || lintian_status=$?
tags=$(grep -v 'running with root privileges' <<< "$tags" || true)
echo "lintian: ${tags:-no tags}"
if [ $lintian_status -ne 0 ]; then echo "lintian found errors or warnings (status $lintian_status)" >&2; status=1; fi
exit $status
