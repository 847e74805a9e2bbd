#!/usr/bin/env bash
# A whole update through the real executable: a real X server (Xvfb), real
# clicks (xdotool) and a real HTTP server process on loopback, up to the start
# of a stub Brenvoth.exe.
#
#   e2e_update.sh <updater executable built for 127.0.0.1:PORT> <PORT>
set -euo pipefail

updater=$1
port=$2
work=$(mktemp -d)
app=$work/app
www=$work/www
release=$www/brenvothDownload/windows/v2.0.0

pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# --- the installed release 1.0.0 ---------------------------------------------
mkdir -p "$app/plugins" "$app/download"
cp "$updater" "$app/BrenvothUpdater"
printf 'core 1.0.0' > "$app/core.dll"
printf 'render 1.0.0' > "$app/plugins/render.dll"
printf 'readme' > "$app/readme.txt"
cat > "$app/Brenvoth.exe" <<STUB
#!/bin/sh
printf '%s\n' "\$@" > "$work/started-with"
STUB
chmod +x "$app/Brenvoth.exe"
cat > "$app/version.xml" <<'XML'
<filelist curVersion="1.0.0">
    <software version="1.0.0" info="First release.">
        <file name="core.dll" dir="" version="1.0.0"/>
        <file name="render.dll" dir="plugins/" version="1.0.0"/>
        <file name="readme.txt" dir="" version="1.0.0"/>
    </software>
</filelist>
XML

# --- the published release 2.0.0 --------------------------------------------
mkdir -p "$release/plugins" "$release/plugins/imageformats"
printf 'core 2.0.0' > "$release/core.dll"
printf 'render 2.0.0' > "$release/plugins/render.dll"
head -c 3000000 /dev/urandom > "$release/plugins/imageformats/jpeg.dll"
cat > "$app/download/version.xml" <<'XML'
<filelist curVersion="2.0.0">
    <software version="2.0.0" info="&lt;b&gt;Faster&lt;/b&gt; start-up.">
        <file name="core.dll" dir="" version="2.0.0"/>
        <file name="render.dll" dir="plugins/" version="2.0.0"/>
        <file name="readme.txt" dir="" version="1.0.0"/>
        <file name="jpeg.dll" dir="plugins/imageformats/" version="2.0.0"/>
    </software>
</filelist>
XML

# --- servers ------------------------------------------------------------------
"$(dirname "$0")/../scripts/serve-release" "$www" --port "$port" >/dev/null 2>"$work/http.log" &
pids+=($!)
fifo=$work/display && mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$(head -n1 <"$fifo")"
for _ in $(seq 100); do
    curl -sf -o /dev/null "http://127.0.0.1:$port/" && break
    sleep 0.1
done

# --- the update ---------------------------------------------------------------
"$app/BrenvothUpdater" &
updater_pid=$!
pids+=($updater_pid)
window=$(timeout 20 xdotool search --sync --name '^Frame$' | head -n1)
[ -n "$window" ] || fail "the window did not appear"
click_update() { xdotool mousemove --window "$window" 547 320 click 1; }

click_update
for _ in $(seq 300); do
    [ -d "$app/download" ] || break
    sleep 0.1
done
[ ! -d "$app/download" ] || fail "the installation did not finish"
sleep 0.5
click_update
timeout 20 tail --pid="$updater_pid" -f /dev/null || fail "the updater did not end after OK"
wait "$updater_pid" || fail "the updater exited with status $?"

# --- what it did --------------------------------------------------------------
[ "$(cat "$app/core.dll")" = 'core 2.0.0' ] || fail "core.dll was not replaced"
[ "$(cat "$app/plugins/render.dll")" = 'render 2.0.0' ] || fail "render.dll was not replaced"
[ "$(cat "$app/readme.txt")" = 'readme' ] || fail "the unchanged readme.txt was touched"
cmp -s "$release/plugins/imageformats/jpeg.dll" "$app/plugins/imageformats/jpeg.dll" \
    || fail "the new jpeg.dll in a new nested folder was not installed whole"
grep -q '<filelist curVersion="2.0.0">' "$app/version.xml" || fail "the manifest was not rewritten"
grep -q '^        <file ' "$app/version.xml" || fail "the manifest is not indented by 4"
[ "$(cat "$work/started-with" 2>/dev/null)" = "$app/Brenvoth.exe" ] \
    || fail "Brenvoth.exe was not started with its own path"
requests=$(grep -c '"GET /brenvothDownload/windows/v2.0.0/' "$work/http.log" || true)
[ "$requests" -eq 3 ] || fail "expected 3 downloads, the server saw $requests"
echo "PASS: whole update of 3 files, manifest rewritten, Brenvoth.exe started"
