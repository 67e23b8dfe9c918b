#!/usr/bin/env bash
# Installs Tervela's NSIS installer silently under Wine, into a Wine prefix of
# its own, and checks what a user gets: the program folder, the Start-menu
# entry, the entry in the system's list of programs, a tervela-convert.exe
# that converts the examples to the bytes of the zip's, and no Tervela.ini
# beside the programs; then uninstalls silently and checks that nothing is
# left.
#   packaging/windows/installer_check.sh SETUP-EXE PROGRAM-FOLDER
set -euo pipefail
setup=$(realpath "$1")
folder=$(realpath "$2")
cd "$(dirname "$0")/../.."
export TERVELA_WINDOWS_CACHE=${TERVELA_WINDOWS_CACHE:-$HOME/.cache/tervela-windows}
source packaging/windows/wine-env.sh
export WINEPREFIX=$(mktemp -d)
work=$(mktemp -d)
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX" "$work"' EXIT
wine_prefix_ready
windows_to_unix() { "$wine" winepath -u "$1" 2>/dev/null; }

"$wine" "$setup" /S
/usr/lib/wine/wineserver -w
installed=$(windows_to_unix "$("$wine" cmd /c echo %LOCALAPPDATA% | tr -d '\r')\\Programs\\Tervela")
programs=$(windows_to_unix "$("$wine" cmd /c echo %APPDATA% | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs")
failed=0
check() { "$@" || { echo "failed: ${*: -1}"; failed=1; }; }
check test -f "$installed/tervela.exe"
check test -f "$installed/tervela-convert.exe"
check test -f "$installed/proj.db"
check test -f "$installed/uninstall.exe"
check test ! -e "$installed/Tervela.ini"
check test -f "$programs/Tervela.lnk"
"$wine" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tervela' >"$work/key.txt" 2>&1 || true
check grep -q QuietUninstallString "$work/key.txt"

# The installed program converts as the zip's does.
for side in installed zip; do
  program=$installed/tervela-convert.exe
  [ $side = zip ] && program=$folder/tervela-convert.exe
  "$wine" "$program" --settings "$(pwd)/examples/two-zones.set" --direction wgs-a --scripts \
    "$(pwd)/examples/wgs84-points.txt" "$work/$side.txt" >/dev/null
done
check cmp -s "$work/installed.txt" "$work/zip.txt"

"$wine" "$installed/uninstall.exe" /S
/usr/lib/wine/wineserver -w
sleep 2  # the uninstaller runs on from a copy of itself
check test ! -e "$installed"
check test ! -e "$programs/Tervela.lnk"
"$wine" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tervela' >/dev/null 2>&1 &&
  { echo "failed: the uninstall entry is left"; failed=1; }
[ $failed -eq 0 ] && echo "installed, converted and uninstalled cleanly"
exit $failed
