#!/usr/bin/env bash
# Installs the Debian packages the project needs, when missing (as root, or
# with sudo). Extra package names may be given as arguments. Debian's
# qt6-charts-dev needs the OpenGL module's CMake files without depending on
# libqt6opengl6-dev, so that is named here. poppler-utils reads the printed
# PDFs back in the tests (pdftotext, pdfinfo, pdftoppm).
set -euo pipefail
packages=(g++ make cmake qt6-base-dev libgl-dev libgtest-dev libbenchmark-dev libqt6sql6-sqlite
  qt6-charts-dev libqt6opengl6-dev libsqlite3-dev xvfb xauth python3 librsvg2-bin dpkg-dev
  desktop-file-utils appstream lintian file man-db libzip-dev pkg-config poppler-utils "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install ${missing[*]}" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
