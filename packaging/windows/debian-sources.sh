#!/usr/bin/env bash
# Makes the archive's source packages reachable to apt-get source: where no
# deb-src entry exists, one is added for every deb entry of
# /etc/apt/sources.list.d/*.sources (same addresses, suites and components),
# and the package lists are updated.
set -euo pipefail
if grep -qs '^Types:.*deb-src' /etc/apt/sources.list.d/*.sources ||
   grep -qs '^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list; then
  exit 0
fi
target=/etc/apt/sources.list.d/tervela-deb-src.sources
binary_sources=(/etc/apt/sources.list.d/*.sources)
for sources in "${binary_sources[@]}"; do
  [ -f "$sources" ] || continue
  # Each stanza, comments left out, with its Types line made deb-src.
  sed -e '/^#/d' -e 's/^Types:.*/Types: deb-src/' "$sources"
  echo
done >"$target"
# The classic one-line form, where that is what the system uses.
if [ -f /etc/apt/sources.list ]; then
  sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list >/etc/apt/sources.list.d/tervela-deb-src.list
fi
echo "Added source package entries: $target"
apt-get update -qq
