#!/usr/bin/env bash
# Completes a Windows program folder: every DLL its programs, plugins and
# PROJ's DLL need that Windows does not have itself, found among the built
# libraries or MinGW's runtime (C++, GCC, POSIX threads), and what those need
# in turn; every DLL stripped; and the license of each library shipped, in
# licenses/.
#   packaging/windows/runtime-files.sh FOLDER PREFIX
set -euo pipefail
folder=$1
prefix=$2
host=x86_64-w64-mingw32
search=("$prefix/bin" "/usr/lib/gcc/$host/12-posix" "/usr/$host/lib")

# The DLLs `file` imports.
imports() { "$host-objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'; }

mapfile -t queue < <(find "$folder" -name '*.exe' -o -name '*.dll')
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  for dll in $(imports "$file"); do
    [ -e "$folder/$dll" ] && continue
    for dir in "${search[@]}"; do
      if [ -e "$dir/$dll" ]; then
        cp "$dir/$dll" "$folder/"
        queue+=("$folder/$dll")
        break
      fi
    done
  done
done

# Every DLL stripped, those installed as files (PROJ's, Cairo's) too.
find "$folder" -name '*.dll' -exec "$host-strip" --strip-unneeded {} +

# The licenses: each source package's copyright file, and the MinGW runtime's.
mkdir -p "$folder/licenses"
for tree in "$TERVELA_WINDOWS_CACHE"/src/*/; do
  name=$(basename "$tree")
  if [ -f "$tree/debian/copyright" ]; then
    cp "$tree/debian/copyright" "$folder/licenses/$name.txt"
  elif [ -f "$tree/COPYING" ]; then
    cp "$tree/COPYING" "$folder/licenses/$name.txt"
  fi
done
rm -f "$folder"/licenses/googletest-*.txt
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$folder/licenses/gcc-mingw-w64-runtime.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$folder/licenses/mingw-w64-runtime.txt"
