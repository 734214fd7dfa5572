#!/usr/bin/env bash
# Installs the Debian packages the suite needs, and only those that are missing, so a
# second run costs nothing. Extra package names on the command line are added to the list
# (scripts/guide_screenshots.sh asks for its display tools this way).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev qt6-multimedia-dev libgl-dev qt6-translations-l10n
  libhidapi-dev libsmf-dev libsndfile1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic
  desktop-file-utils appstream groff-base
  "$@"
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
