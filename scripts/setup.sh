#!/usr/bin/env bash
# Shared set-up for ./run, ./test and ./bench: installs what is missing, then configures and builds.
# Usage: scripts/setup.sh BUILD_DIR BUILD_TYPE [extra cmake args...]
# OXA_EXTRA_PACKAGES adds Debian packages (./fuzz: clang and its runtime); OXA_BUILD_TARGETS builds only
# those targets instead of everything.
set -euo pipefail
cd "$(dirname "$0")/.."

# The second line: the install test's validators, and what `cpack -G DEB` needs (dpkg-shlibdeps, file).
packages=(qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev libqt6svg6 libsimpleini-dev
          cmake ninja-build g++ pkg-config fonts-dejavu-core xvfb xauth
          desktop-file-utils appstream dpkg-dev file ${OXA_EXTRA_PACKAGES:-})
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir=${1:-build}
build_type=${2:-RelWithDebInfo}
shift 2 || true
if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" "$@"
fi
if [ -n "${OXA_BUILD_TARGETS:-}" ]; then
    # shellcheck disable=SC2086 # a list of target names
    cmake --build "$build_dir" --parallel 2 --target $OXA_BUILD_TARGETS
else
    cmake --build "$build_dir" --parallel 2
fi
