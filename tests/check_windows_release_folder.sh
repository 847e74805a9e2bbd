#!/usr/bin/env bash
# The application folder that cmake --install lays out, as a publisher ships
# it: the executable, its platform plugin, and the OpenSSL 3 DLLs without
# which Qt makes no TLS connection (found by the import walk today; a Qt that
# loads them at run time would name them in no import table).
#
#   check_windows_release_folder.sh <cmake> <build dir>
set -euo pipefail
cmake=$1 build=$2
folder=$(mktemp -d) && trap 'rm -rf "$folder"' EXIT

"$cmake" --install "$build" --prefix "$folder" >/dev/null
missing=()
for file in BrenvothUpdater.exe platforms/qwindows.dll Qt5Network.dll libssl-3-x64.dll libcrypto-3-x64.dll; do
    [ -f "$folder/$file" ] || missing+=("$file")
done
[ ${#missing[@]} -eq 0 ] || { echo "FAIL: the installed folder lacks ${missing[*]}" >&2; exit 1; }
echo "PASS: the installed folder holds the updater, qwindows.dll, libssl-3-x64.dll and libcrypto-3-x64.dll"
