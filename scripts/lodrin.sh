#!/usr/bin/env bash
# Installs what is missing, builds Lodrin, installs it into a folder of the
# user's own (default ~/Lodrin; the catalogue anterior.mdb and the images
# folder live beside the program there) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
destino="${LODRIN_HOME:-$HOME/Lodrin}"
cmake --install build --prefix "$destino" >/dev/null
exec "$destino/bin/Lodrin"
