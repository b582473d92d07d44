#!/usr/bin/env bash
# Installs the Debian packages the project needs, when any is missing. Run as root.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config mold
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  qt6-base-dev libgl-dev
  libmuparser-dev libcminpack-dev
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth poppler-utils
  locales
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The number tests prove that reading and writing numbers ignores the process locale;
# they need one locale whose decimal separator is a comma.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "warning: could not generate de_DE.UTF-8" >&2
fi
