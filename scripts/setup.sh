#!/usr/bin/env bash
# Installs the Debian packages that building and running Lodrin need.
# With --pruebas also what the tests, the benchmark and the package check
# need: the MP3 encoder and the other test tools, the Spanish word list the
# texts are checked against, a PostgreSQL server
# and its Qt driver (scripts/test.sh asks for them; scripts/lodrin.sh not).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev qt6-translations-l10n
  libtag1-dev
)
if [ "${1:-}" = "--pruebas" ]; then
  packages+=(
    libqt6sql6-psql postgresql
    libsqlite3-dev
    lame ffmpeg mediainfo id3v2 genisoimage tidy kid3-cli
    desktop-file-utils dpkg-dev lintian wspanish
  )
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
