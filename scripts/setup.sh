#!/usr/bin/env bash
# Installs the Debian packages Tessary builds and tests with; installs only what is missing,
# so a second run does nothing. Needs root (or sudo).
set -euo pipefail

packages=(
  build-essential cmake ninja-build clang libclang-rt-14-dev
  qt6-base-dev libgl1-mesa-dev
  libtinyxml-dev libboost-regex-dev libicu-dev
  libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libtiff-dev libgif-dev libwebp-dev libheif-dev
  libgtest-dev libgmock-dev libbenchmark-dev libjpeg-turbo-progs
  fonts-wine xvfb xauth
  desktop-file-utils appstream libxml2-utils shared-mime-info libglib2.0-bin file man-db
  dpkg-dev lintian
  libx11-dev openbox xdotool xclip python3 python3-pil
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
