#!/usr/bin/env bash
# The Windows build under wine, started with a display language as a user's
# Windows would give it: wine takes the user's UI language from the Unix
# locale of its process, so LANG names it (generated here with localedef,
# the machine's own locales are not touched).
#
#   window_language_wine.sh <windowgrab.exe> <locale> <dpi> <picture.png> <expected update label>
#
# Checks that the window speaks the language, and for Arabic that it is
# mirrored; leaves the window's picture in picture.png.
set -euo pipefail

grabber=$1
locale=$2
dpi=$3
picture=$4
expected=$5
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"

mkdir -p "$work/locales" "$work/app/download"
localedef -i "$locale" -f UTF-8 "$work/locales/$locale.UTF-8" 2>/dev/null \
    || [ -e "$work/locales/$locale.UTF-8/LC_MESSAGES" ] || fail "localedef made no $locale.UTF-8"
cat > "$work/app/download/version.xml" <<'XML'
<filelist curVersion="2.1.0"><software version="2.1.0" info="Release notes of 2.1.0."
 info-de="Versionshinweise zu 2.1.0." info-ar="ملاحظات الإصدار 2.1.0.">
<file name="core.dll" dir="" version="2.1.0"/></software></filelist>
XML

output=$(LOCPATH=$work/locales LANG=$locale.UTF-8 WINEQT_FONT_DPI=$dpi \
         wine "$grabber" "Z:$work/app" "Z:$work/window.png" | tr -d '\r')
echo "$output"
cp "$work/window.png" "$picture"
label=$(sed -n 's/^name updateText //p' <<<"$output")
[ "$label" = "$expected" ] || fail "the update button reads \"$label\", not \"$expected\""
[ "$(sed -n 's/^name window //p' <<<"$output")" != "Brenvoth update" ] || fail "the window's name is English"
if [ "${locale%%_*}" = ar ]; then
    read -r _ _ close_x _ close_w _ < <(grep '^rect closeButton ' <<<"$output")
    read -r _ _ logo_x _ _ _ < <(grep '^rect widget_2 ' <<<"$output")
    [ $((close_x + close_w)) -le "$logo_x" ] || fail "the close button is not left of the logo"
fi
echo "PASS: $locale shows \"$label\""
