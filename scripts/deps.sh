#!/usr/bin/env bash
# Installs, with apt-get, whatever of the build and test packages is missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libqt6svg6
  libgl-dev
  xvfb xauth xdotool x11-utils imagemagick
  cups cups-client printer-driver-cups-pdf poppler-utils mupdf-tools qpdf
  fonts-liberation fonts-comic-neue fonts-crosextra-carlito fonts-dejavu-core
  libwmf-bin libwmf-dev
  qt6-charts-dev libqt6opengl6-dev libarchive-dev
  openssl iproute2
  clang libclang-rt-14-dev clang-format
  qt6-translations-l10n desktop-file-utils appstream shared-mime-info xdg-utils dpkg-dev libglib2.0-bin
)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
