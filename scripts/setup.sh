#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tervela need, where
# they are missing. As root it runs apt-get itself; otherwise it prints the
# apt-get line to run and stops.
set -euo pipefail

packages=(g++ cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev libcairo2-dev
          qt6-base-dev fonts-dejavu-core libproj-dev proj-data libicu-dev "$@")

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Some packages are missing. Run:"
  echo "  sudo apt-get install ${missing[*]}"
  exit 1
fi
