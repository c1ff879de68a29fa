#!/usr/bin/env bash
# Builds the Debian package from build/dev (cpack -G DEB), checks it with lintian (errors and
# warnings fail; informational tags are shown), installs it with apt-get, checks the
# installed programs and the album file type, and removes the package again. Needs root (or
# sudo) and a built build/dev; scripts/test.sh runs it after the normal build's tests.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/dev
if [ ! -f "$build/CPackConfig.cmake" ] || [ ! -x "$build/src/app/tessary" ]; then
  echo "check-package: build/dev is not configured and built (cmake --preset dev; cmake --build --preset dev)" >&2
  exit 1
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

rm -rf "$build/package"
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/package/tessary_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "check-package: cpack made no single package" >&2; exit 1; }
deb=$PWD/${debs[0]}
echo "package: ${deb#"$PWD"/}"

echo "-- lintian"
lintian --fail-on error,warning --display-info "$deb"

if dpkg-query -W -f='${Status}' tessary 2>/dev/null | grep -q "install ok installed"; then
  echo "check-package: a tessary package is installed already; remove it first" >&2
  exit 1
fi
scratch=$(mktemp -d)
remove() {
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tessary >/dev/null || true
  rm -rf "$scratch"
}
trap remove EXIT

echo "-- apt-get install"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
/usr/bin/tessary-cli --help >/dev/null
echo "tessary-cli --help: exit 0"
album=$(/usr/bin/tessary-cli album create "$scratch" Trip)
cp "$album" "$scratch/trip-without-extension"
type=$(GIO_USE_VFS=local XDG_DATA_HOME=$scratch/empty gio info -a standard::content-type \
         "$scratch/trip-without-extension" | sed -n 's/^ *standard::content-type: //p')
if [ "$type" != application/x-tessary-album ]; then
  echo "check-package: after the install an album reads as '$type'" >&2
  exit 1
fi
echo "album by content: $type"
# Built for /usr/local, installed in /usr: still counts as installed.
tests/install/starts_installed.sh /usr/bin
echo "/usr/bin/tessary keeps its settings under \$XDG_DATA_HOME"

echo "-- apt-get remove"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tessary >/dev/null
trap 'rm -rf "$scratch"' EXIT
if [ -e /usr/bin/tessary-cli ]; then
  echo "check-package: /usr/bin/tessary-cli is still there after the removal" >&2
  exit 1
fi
echo "check-package: passed"
