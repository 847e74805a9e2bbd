#!/usr/bin/env bash
# A whole update through the real executable: a real X server (Xvfb), real
# clicks (xdotool) and a real server process on loopback, up to the start of
# a stub Brenvoth.exe.
#
#   e2e_update.sh <updater built for http://127.0.0.1:PORT> <PORT>
#   e2e_update.sh <updater built for https://localhost:PORT> <PORT> --tls <certificates dir>
#   e2e_update.sh <updater built for http://127.0.0.1:PORT> <PORT> --published <brenvoth-release>
#
# Over http, updates are then killed at random moments. Over https, nginx
# with ssl serves the release: the update fails while the test authority is
# not trusted, and installs where a private mount namespace trusts it, once
# directly and once through tinyproxy. A release published with
# brenvoth-release arrives by patches and .zst files.
set -euo pipefail

updater=$1
port=$2
mode=${3:-}
certificates=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
# Every wait below is for an event (a window, a file, a line in a log, a
# process's end), with a ceiling far above what a busy machine takes: on a
# slow machine the test takes longer, it does not fail.
source "$here/e2e_lib.sh"
app=$work/app
www=$work/www
release=$www/brenvothDownload/windows/v2.0.0

# The installed release 1.0.0, afresh.
install_release_1() {
    rm -rf "$app"
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
}

# The published release 2.0.0.
publish_release_2() {
    mkdir -p "$release/plugins" "$release/plugins/imageformats"
    printf 'core 2.0.0' > "$release/core.dll"
    printf 'render 2.0.0' > "$release/plugins/render.dll"
    head -c 3000000 /dev/urandom > "$release/plugins/imageformats/jpeg.dll"
}

click_update() { xdotool mousemove --window "$window" 547 320 click 1; }

installation_over() { [ ! -d "$app/download" ] || grep -q ' not installed: ' "$1"; }

# run_update <log> [wrapper...]: starts the updater, through the wrapper if
# any (a command that ends by exec'ing its arguments), clicks "Update", waits
# until the installation is over either way, clicks "OK" and waits for the
# updater to end.
run_update() {
    local log=$1
    shift
    [ $# -gt 0 ] || set -- exec
    rm -f "$work/started-with"
    ("$@" "$app/BrenvothUpdater") 2>"$log" &
    updater_pid=$!
    pids+=($updater_pid)
    window=$(timeout 120 xdotool search --sync --onlyvisible --pid "$updater_pid" --name '^Frame$' | head -n1) || true
    [ -n "$window" ] || fail "the window did not appear"
    click_update
    wait_for 180 installation_over "$log" || fail "the installation did not finish"
    # No pause: the button reads "OK" before the updater takes its next event,
    # for the installation turns no event loop after download/ goes or the
    # failure is logged.
    click_update
    timeout 60 tail --pid="$updater_pid" -f /dev/null || fail "the updater did not end after OK"
    wait "$updater_pid" || fail "the updater exited with status $?"
    # Started detached, the stub may write its file after the updater has ended.
    wait_for 60 test -s "$work/started-with" || fail "Brenvoth.exe was not started"
    [ "$(cat "$work/started-with")" = "$app/Brenvoth.exe" ] \
        || fail "Brenvoth.exe was not started with its own path"
}

requests() { grep -c '"GET /brenvothDownload/windows/v2.0.0/' "$server_log" || true; }

check_installed() {
    [ "$(cat "$app/core.dll")" = 'core 2.0.0' ] || fail "core.dll was not replaced"
    [ "$(cat "$app/plugins/render.dll")" = 'render 2.0.0' ] || fail "render.dll was not replaced"
    [ "$(cat "$app/readme.txt")" = 'readme' ] || fail "the unchanged readme.txt was touched"
    cmp -s "$release/plugins/imageformats/jpeg.dll" "$app/plugins/imageformats/jpeg.dll" \
        || fail "the new jpeg.dll in a new nested folder was not installed whole"
    grep -q '<filelist curVersion="2.0.0">' "$app/version.xml" || fail "the manifest was not rewritten"
    grep -q '^        <file ' "$app/version.xml" || fail "the manifest is not indented by 4"
    [ "$(requests)" -eq 3 ] || fail "expected 3 downloads, the server saw $(requests)"
}

# Every file of the application directory with its checksum, but download/.
app_state() {
    (cd "$app" && find . -path ./download -prune -o -type f -print0 | sort -z | xargs -0 md5sum)
}

if [ "$mode" = --tls ]; then
    make_trust_store "$certificates/ca.crt"
    publish_release_2
    start_tls_nginx "$www" "$port" "$certificates"
    server_log=$nginx_log
    start_display
    unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY

    install_release_1
    before=$(app_state)
    run_update "$work/untrusted.log"
    [ "$(app_state)" = "$before" ] || fail "the application directory changed: $(diff <(echo "$before") <(app_state))"
    grep -q "^Update to 2.0.0 not installed: .*the server's identity could not be verified" "$work/untrusted.log" \
        || fail "no failure naming the server's identity: $(cat "$work/untrusted.log")"
    ! grep -q 'trying again' "$work/untrusted.log" || fail "an unverified server was tried again"
    [ "$(requests)" -eq 0 ] || fail "a file was requested from an unverified server"
    echo "PASS: without the test authority nothing changed: $(grep -o "the server's identity.*" "$work/untrusted.log")"

    install_release_1
    run_update "$work/trusted.log" trusting_test_ca
    check_installed
    grep -q '"GET /brenvothDownload/windows/v2.0.0/core.dll HTTP/2.0"' "$nginx_log" \
        || fail "the files did not come over HTTP/2: $(cat "$nginx_log")"
    echo "PASS: whole update of 3 files over https and HTTP/2, the test authority trusted in a private mount namespace"

    start_tinyproxy
    install_release_1
    : > "$nginx_log"
    run_update "$work/proxied.log" trusting_test_ca env "https_proxy=http://127.0.0.1:$proxy_port"
    check_installed
    [ "$(proxied_connects "localhost:$port")" -ge 1 ] \
        || fail "the proxy opened no tunnel to localhost:$port: $(cat "$proxy_log")"
    echo "PASS: the same update through tinyproxy, $(proxied_connects "localhost:$port") CONNECT localhost:$port in its log"
    exit 0
fi

if [ "$mode" = --published ]; then
    server_log=$work/http.log
    "$here/../scripts/serve-release" "$work/www" --port "$port" >/dev/null 2>"$server_log" &
    pids+=($!)
    lay_out_published_update "$app" "$4"
    cp "$updater" "$app/BrenvothUpdater"
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" > "%s"\n' "$work/started-with" > "$app/Brenvoth.exe"
    chmod +x "$app/Brenvoth.exe"
    start_display
    wait_for 60 curl -sf -o /dev/null "http://127.0.0.1:$port/" || fail "the HTTP server did not start"
    run_update "$work/published.log"
    check_published_update "$app" "$server_log"
    echo "PASS: a release published with brenvoth-release installed by patch, .zst and raw file"
    exit 0
fi

# --- a whole update -----------------------------------------------------------
install_release_1
publish_release_2
server_log=$work/http.log
"$here/../scripts/serve-release" "$www" --port "$port" >/dev/null 2>"$server_log" &
pids+=($!)
start_display
wait_for 60 curl -sf -o /dev/null "http://127.0.0.1:$port/" || fail "the HTTP server did not start"
run_update "$work/whole-update.log"
check_installed
echo "PASS: whole update of 3 files, manifest rewritten, Brenvoth.exe started"

# --- interrupted updates ------------------------------------------------------
# 300 files all change from 1.0.0 to 3.0.0. The updater is killed with -9 at
# random moments, half of them the moment its commit journal appears, and
# started again: every time, all files must be of one release, the one that
# the local manifest names, and none half-written.
app=$work/app3
files=300
release3=$www/brenvothDownload/windows/v3.0.0

manifest_of() {   # manifest_of VERSION
    echo "<filelist curVersion=\"$1\"><software version=\"$1\" info=\"notes\">"
    for i in $(seq -w 1 $files); do
        echo "<file name=\"f$i.dll\" dir=\"d${i:0:2}/\" version=\"$1\"/>"
    done
    echo '</software></filelist>'
}
# release_files <dir> <version>: the release's 300 files.
release_files() {
    local i
    for i in $(seq -w 1 $files); do
        mkdir -p "$1/d${i:0:2}"
        printf 'f%s %s %04096d' "$i" "$2" 0 > "$1/d${i:0:2}/f$i.dll"
    done
}
release1=$work/release1
release_files "$release1" 1.0.0
release_files "$release3" 3.0.0
# The checksums of each release's files, to check the application folder by.
for version in 1.0.0 3.0.0; do
    (cd "$([ $version = 1.0.0 ] && echo "$release1" || echo "$release3")" && find . -type f | sort | xargs md5sum) \
        > "$work/sums-$version"
done
install_old() {
    rm -rf "$app"
    mkdir -p "$app/download"
    cp "$updater" "$app/BrenvothUpdater"
    cp -r "$release1/." "$app/"
    manifest_of 1.0.0 > "$app/version.xml"
    manifest_of 3.0.0 > "$app/download/version.xml"
}

# Prints the release that every file and the manifest agree on, or fails.
one_release() {
    local version
    version=$(grep -o 'curVersion="[^"]*"' "$app/version.xml" | cut -d'"' -f2)
    [ "$version" = 1.0.0 ] || [ "$version" = 3.0.0 ] || fail "the manifest names release '$version'"
    local wrong
    wrong=$(cd "$app" && md5sum -c --quiet "$work/sums-$version" 2>/dev/null | head -3 | tr '\n' ' ') || true
    [ -z "$wrong" ] || fail "release $version in the manifest, but not in $wrong"
    echo "$version"
}

start_updater() {
    "$app/BrenvothUpdater" 2>>"$work/updater.log" &
    updater_pid=$!
    window=$(timeout 120 xdotool search --sync --onlyvisible --pid "$updater_pid" --name '^Frame$' | head -n1)
    [ -n "$window" ] || fail "the window did not appear after a restart"
}

install_old
kills=0; completed=0
for round in $(seq 1 12); do
    start_updater   # recovery runs before the window shows
    [ "$(one_release)" = 3.0.0 ] && { completed=$((completed + 1)); kill -9 "$updater_pid"; wait "$updater_pid" 2>/dev/null || true; install_old; start_updater; }
    click_update
    if [ $((round % 2)) -eq 0 ]; then
        # Until the journal appears, or the update is over without one seen.
        timeout 120 bash -c "until [ -e '$app/download/.updater/journal' ] || [ ! -d '$app/download' ]; do :; done" || true
        sleep "0.00$((RANDOM % 10))"
    else
        sleep "0.$((RANDOM % 10))"
    fi
    kill -9 "$updater_pid" 2>/dev/null && kills=$((kills + 1))
    wait "$updater_pid" 2>/dev/null || true
done
start_updater
version=$(one_release)
kill -9 "$updater_pid"; wait "$updater_pid" 2>/dev/null || true
grep -q 'Recovery: ' "$work/updater.log" || fail "no kill ever interrupted a commit"
echo "PASS: $kills kills at random moments, each restart found one whole release" \
     "($completed updates completed, $(grep -c 'Recovery: finished' "$work/updater.log") commits finished by recovery," \
     "$(grep -c 'Recovery: undid' "$work/updater.log") undone)"
