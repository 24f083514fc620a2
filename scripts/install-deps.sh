#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and
# this machine does not have yet. Safe to run again: installed packages are skipped.
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev)
if [ "${1:-}" != "--core-only" ]; then
  packages+=(qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-translations-l10n libgl-dev fonts-ipafont-gothic fonts-noto-cjk xvfb xauth)
fi
# --fuzz (CI): clang with libFuzzer and its sanitizer runtimes, for fuzz/run.sh.
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
