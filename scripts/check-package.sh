#!/usr/bin/env bash
# Builds the Debian package from a build that ./test has made, installs it with apt as a user would,
# starts the installed programs, and removes it again; fails when any step fails.
# Usage: scripts/check-package.sh [BUILD_DIR]   (default build/; run as root or with sudo at hand)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$(realpath "${1:-build}")
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

rm -f "$build_dir"/oxaset_*.deb
(cd "$build_dir" && cpack -G DEB)
deb=$(ls "$build_dir"/oxaset_*.deb)
dpkg-deb --field "$deb" Package Version Depends
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "$deb"

# Started by their names, from the PATH, as a user would; --version needs no display.
version=$(cd / && OXAset --version)
echo "$version"
[ "$version" = "OXAset $(dpkg-deb --field "$deb" Version)" ] || { echo "not the package's version"; exit 1; }
(cd / && oxasim --help && oxasim --version)
for f in /usr/bin/OXAset /usr/bin/oxasim /usr/share/man/man1/OXAset.1 /usr/share/man/man1/oxasim.1; do
    [ -e "$f" ] || { echo "not installed: $f"; exit 1; }
done

DEBIAN_FRONTEND=noninteractive $SUDO apt-get purge -y -q oxaset
if dpkg-query -W -f='${Status}\n' oxaset 2>/dev/null | grep -q installed; then
    echo "oxaset is still installed"; exit 1
fi
for f in /usr/bin/OXAset /usr/bin/oxasim; do
    [ ! -e "$f" ] || { echo "left behind: $f"; exit 1; }
done
echo "package $(basename "$deb"): built, installed, started, removed"
