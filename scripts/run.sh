#!/usr/bin/env bash
# Installs what is missing, builds Tervela and starts the window through the
# launcher that the package installs as /usr/bin/tervela: in the working
# folder ~/Tervela (or $TERVELA_HOME), where a first start writes the example
# settings as "Tervela.ini" and copies the example point files.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTERVELA_BUILD_TESTS=OFF -DTERVELA_BUILD_BENCHMARKS=OFF
cmake --build build/release -j"$(nproc)" --target tervela tervela-convert
exec build/release/packaging/tervela "$@"
