#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test (offscreen).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --pruebas
# The MPEG header reader takes arbitrary bytes: its robustness test also runs
# under AddressSanitizer, in a build of its own.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLODRIN_ASAN=ON
cmake --build build-asan --target test_mp3info_robustez
QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan -R '^test_mp3info_robustez$' --output-on-failure
# A packager's build, without the tests: the programs and the benchmarks that
# need no test support must build on their own.
cmake -S . -B build-sinpruebas -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build build-sinpruebas
# Everything else, and that test again, in the ordinary build.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
cmake --build build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
# Every catalogue test again, on a throwaway PostgreSQL server of its own: the
# store, search, the browser, listing queries, recording, edits, pictures and
# copies, and a load of six programs recording while six search (about 45 s).
# test_almacen and test_fichero stay on the file: they pin the file's own journal,
# locks, read-only files and older files' steps.
LODRIN_PRUEBA_MOTOR=postgresql bash scripts/pg_temporal.sh env QT_QPA_PLATFORM=offscreen \
  ctest --test-dir build --output-on-failure -j2 \
  -R '^test_(catalogo|servidor|busqueda|navegador|navegador_ui|listado|grabacion|edicion|objetos|nombres|repetidas|catalogos|carga)$'
# The Debian package: built, its dependencies resolved by apt (simulated,
# nothing is installed), and its unpacked tree put through the install test.
(cd build && rm -f lodrin_*.deb && cpack -G DEB >/dev/null)
paquete="$(ls "$PWD"/build/lodrin_*_amd64.deb)"
apt-get -s install "$paquete" >/dev/null
dpkg -c "$paquete"
# No error and no warning from Debian's package checker.
lintian --fail-on error,warning "$paquete"
LODRIN_PAQUETE="$paquete" QT_QPA_PLATFORM=offscreen build/tests/install/test_instalacion
