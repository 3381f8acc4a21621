#!/usr/bin/env bash
# Installs what is missing, builds Lodrin, installs it into a folder of the
# user's own (default ~/Lodrin; the catalogue anterior.mdb and the images
# folder live beside the program there), puts its menu entries where the
# desktop reads them and starts it.
set -euo pipefail
# Full path: the menu entries name the program by it.
destino="$(realpath -m "${LODRIN_HOME:-$HOME/Lodrin}")"
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# The two programs only: the tests are built by scripts/test.sh.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
cmake --build build --target Lodrin Vistel
cmake --install build --prefix "$destino" >/dev/null
datos="${XDG_DATA_HOME:-$HOME/.local/share}"
mkdir -p "$datos/applications"
cp "$destino"/share/applications/{lodrin,vistel}.desktop "$datos/applications/"
cp -r "$destino"/share/icons "$datos/"
exec "$destino/bin/Lodrin"
