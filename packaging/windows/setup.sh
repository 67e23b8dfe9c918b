#!/usr/bin/env bash
# Installs from Debian's archive what the Windows build and its tests need,
# and makes the source packages reachable:
# - the MinGW-w64 compilers with POSIX threads (std::thread and Qt's threads
#   need them) and their tools;
# - Qt's host tools (moc, rcc, uic) of the version the Windows Qt is built
#   from, and CMake and Ninja;
# - dpkg-dev (dpkg-source unpacks the source packages), autotools' runtime
#   needs (make, pkg-config), tclsh (SQLite's one-file source), sqlite3 (PROJ's
#   proj.db is built with it);
# - wine64 and fonts-wine (the tests, the screenshot), nsis and zip (the
#   installer and the zip).
set -euo pipefail
here=$(dirname "$0")
"$here/../../scripts/setup.sh" g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools \
  binutils-mingw-w64-x86-64 qt6-base-dev-tools dpkg-dev make pkg-config tcl sqlite3 \
  wine64 fonts-wine nsis zip "$@"
"$here/debian-sources.sh"
