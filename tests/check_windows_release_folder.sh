#!/usr/bin/env bash
# The application folder that cmake --install lays out, as a publisher ships
# it: the executable, its platform plugin, the DLLs of the TLS and download
# libraries, and exactly the DLLs that something in the folder imports. A DLL
# imported but not shipped stops the updater from starting on a clean
# Windows; one shipped but imported by nothing is a leftover that a user's
# folder keeps for no reason.
#
#   check_windows_release_folder.sh <cmake> <objdump> <build dir> <folder of Windows' own DLLs>
#
# Windows' own DLLs are those the last argument holds (wine's, which the
# tests run on); they are never shipped.
set -euo pipefail
cmake=$1 objdump=$2 build=$3 system_dlls=$4
folder=$(mktemp -d) && trap 'rm -rf "$folder"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -f "$system_dlls/kernel32.dll" ] || fail "$system_dlls holds no kernel32.dll: not a folder of Windows' own DLLs"
"$cmake" --install "$build" --prefix "$folder" >/dev/null
missing=()
for file in BrenvothUpdater.exe platforms/qwindows.dll Qt5Network.dll libssl-3-x64.dll libcrypto-3-x64.dll \
            libcurl.dll libnghttp2.dll; do
    [ -f "$folder/$file" ] || missing+=("$file")
done
[ ${#missing[@]} -eq 0 ] || fail "the installed folder lacks ${missing[*]}"

lower() { tr '[:upper:]' '[:lower:]'; }
shipped=$(cd "$folder" && find . -maxdepth 1 -iname '*.dll' -printf '%f\n' | lower | sort -u)
imported=$(find "$folder" -iname '*.dll' -o -iname '*.exe' | while read -r binary; do
    "$objdump" -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p'
done | lower | sort -u)

not_shipped=()
for dll in $(comm -13 <(echo "$shipped") <(echo "$imported")); do
    [ -n "$(find "$system_dlls" -maxdepth 1 -iname "$dll" -print -quit)" ] || not_shipped+=("$dll")
done
[ ${#not_shipped[@]} -eq 0 ] || fail "imported but not shipped: ${not_shipped[*]}"
unused=$(comm -23 <(echo "$shipped") <(echo "$imported") | tr '\n' ' ')
[ -z "$unused" ] || fail "shipped but imported by nothing: $unused"
echo "PASS: the installed folder holds the updater, qwindows.dll and the $(wc -l <<<"$shipped") DLLs it imports, libcurl's and OpenSSL's among them, and no other"
