#!/usr/bin/env bash
# Reads the built Windows executable as the loader will: a GUI-subsystem
# program entered through Qt's WinMain, whose only resource is the application
# manifest asking for no elevation and for common controls 6.
#
#   check_windows_executable.sh <objdump> <objcopy> <BrenvothUpdater.exe>
set -euo pipefail
objdump=$1 objcopy=$2 exe=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

headers=$("$objdump" -p "$exe")
grep -Eq '^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)' <<<"$headers" \
    || fail "not a Windows GUI-subsystem program"
# Qt's WinMain splits the wide command line; nothing else here imports that.
grep -Eq '^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+CommandLineToArgvW$' <<<"$headers" \
    || fail "Qt's Windows entry point is not linked"

# The resource tree: its types, then the ids under the one type.
entries() { grep -E "^[0-9a-f]{3} {$1}Entry: " <<<"$headers" | sed 's/.*ID: //; s/,.*//' || true; }
types=$(entries 3)
[ "$types" = 0x000018 ] || fail "resource types are [${types//$'\n'/ }], expected only 0x000018 (the manifest)"
names=$(entries 5)
[ "$names" = 0x000001 ] || fail "manifest resource ids are [${names//$'\n'/ }], expected only 1"

rsrc=$(mktemp) && trap 'rm -f "$rsrc"' EXIT
"$objcopy" -O binary --only-section=.rsrc "$exe" "$rsrc"
manifest=$(tr -d '\0' <"$rsrc" | tr -s ' \r\n\t' ' ')
for expected in \
    '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>' \
    'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'; do
    grep -qF "$expected" <<<"$manifest" || fail "the embedded manifest lacks: $expected"
done
echo "PASS: GUI subsystem, Qt's WinMain, only the manifest, asInvoker, common controls 6.0.0.0"
