#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and
# this machine does not have yet. Safe to run again: installed packages are skipped.
set -euo pipefail

# Options, any number of them:
#   --core-only  no Qt: enough for the core and zelkora-cli (configure with -DZELKORA_BUILD_UI=OFF)
#   --fuzz       clang with libFuzzer and its sanitizer runtimes, for fuzz/run.sh (CI)
#   --package    what scripts/check-deb.sh needs to build the Debian package and check it with lintian
#   --web        emscripten for the WebAssembly build of the core (build/web) and chromium for the page's tests
core_only=0 fuzz=0 package=0 web=0
for option in "$@"; do
  case "$option" in
    --core-only) core_only=1 ;;
    --fuzz) fuzz=1 ;;
    --package) package=1 ;;
    --web) web=1 ;;
    *) echo "install-deps.sh: unknown option $option (use --core-only, --fuzz, --package, --web)" >&2; exit 64 ;;
  esac
done

packages=(build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libxml2-utils)
if [ $core_only -eq 0 ]; then
  packages+=(qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-translations-l10n libgl-dev fonts-ipafont-gothic fonts-noto-cjk xvfb xauth)
fi
if [ $fuzz -eq 1 ]; then
  packages+=(clang libclang-rt-14-dev)
fi
if [ $package -eq 1 ]; then
  packages+=(lintian)
fi
if [ $web -eq 1 ]; then
  packages+=(emscripten nodejs chromium)
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
