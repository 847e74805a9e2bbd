#!/usr/bin/env bash
# Whole updates of the Windows build under wine, as a user gets them: the
# application folder as installed, a real X server (Xvfb), real clicks
# (xdotool) and a real server process on loopback, up to the start of a
# stub Brenvoth.exe.
#
#   e2e_update_wine.sh <case> <cmake> <build dir> <updater .exe built for 127.0.0.1:PORT>
#                      <stub .exe> <PORT> <holdfile .exe> [<certificates dir>]
#
# With a certificates directory the updater is built for https://localhost:PORT
# and nginx with ssl serves the release. A case is a function case_<name>: it lays out the
# installed and the published release with the helpers below, calls
# run_update and checks.
set -euo pipefail

case_name=$1 cmake=$2 build=$3 updater=$4 stub=$5 port=$6 holdfile=$7 certificates=${8:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
app=$work/app
www=$work/www
export WINEDEBUG=${WINEDEBUG:--all}
# What the updater is started through: a command that ends by exec'ing its arguments.
updater_wrapper=(exec)
# What happens just before "Update" is clicked.
before_click=(true)

# The application folder as a publisher ships it, with the loopback updater
# and the stub in place of Brenvoth.exe.
install_app() {
    "$cmake" --install "$build" --prefix "$app" >/dev/null
    cp "$updater" "$app/BrenvothUpdater.exe"
    cp "$stub" "$app/Brenvoth.exe"
    mkdir -p "$app/download"
}

# put <path> <content>: writes a file, creating its folders.
put() { mkdir -p "$(dirname "$1")" && printf '%s' "$2" > "$1"; }

release_dir() { echo "$www/brenvothDownload/windows/v$1"; }

start_servers() {
    if [ -n "$certificates" ]; then
        start_tls_nginx "$www" "$port" "$certificates"
        server_log=$nginx_log
    else
        server_log=$work/http.log
        "$here/../scripts/serve-release" "$www" --port "$port" ${serve_rate:+--rate "$serve_rate"} \
            >/dev/null 2>"$server_log" &
        pids+=($!)
        # The port is fixed in the updater: make sure the server answering is ours.
        local token=ready-$RANDOM$RANDOM
        put "$www/$token" "$token"
        wait_for 120 curl -sf -o /dev/null "http://127.0.0.1:$port/$token" \
            || fail "the HTTP server did not start, or port $port is another server's"
    fi
    # Wine programs of one prefix share one session, tied to the display of
    # the first: scripts/test-windows gives the whole run one Xvfb.
    if [ -n "${BRENVOTH_WINE_DISPLAY:-}" ]; then
        export DISPLAY=$BRENVOTH_WINE_DISPLAY
    else
        start_display
    fi
}

# Starts the updater and waits for its window.
start_updater() {
    # Qt reads its variables under wine only with a WINE prefix.
    (cd "$work" && WINEQT_FORCE_STDERR_LOGGING=1 "${updater_wrapper[@]}" wine "$app/BrenvothUpdater.exe") \
        2>>"$work/updater.log" &
    updater_pid=$!
    pids+=($updater_pid)
    wait_for 300 find_window || fail "the window did not appear"
}

# run_update [command...]: starts the updater, clicks "Update", waits until
# the command (by default: the download folder is gone) says the installation
# is over, clicks "OK" and waits for the updater to end. Generous limits, as
# for every wait here: a wine prefix's first start is slow, and wine on a
# busy machine slower still.
run_update() {
    [ $# -gt 0 ] || set -- test ! -d "$app/download"
    [ -n "${server_log:-}" ] || start_servers
    rm -f "$app/started-with.txt"
    start_updater
    "${before_click[@]}"
    xdotool mousemove --window "$window" 547 320 click 1
    wait_for 300 "$@" || fail "the installation did not finish: $(tail -n 20 "$work/updater.log")"
    # No pause: the button reads "OK" before the updater takes its next event,
    # for the installation turns no event loop after download/ goes.
    xdotool mousemove --window "$window" 547 320 click 1
    timeout 240 tail --pid="$updater_pid" -f /dev/null || fail "the updater did not end after OK"
    wait "$updater_pid" || fail "the updater exited with status $?"
    wait_for 180 test -s "$app/started-with.txt" \
        || fail "Brenvoth.exe was not started: $(tail -n 20 "$work/updater.log")"
}

# Every file of the application folder with its checksum, but the stub's output.
app_state() {
    (cd "$app" && find . -path ./download -prune -o -type f ! -name started-with.txt -print0 \
        | sort -z | xargs -0 md5sum)
}

requests() { grep -c "\"GET /brenvothDownload/windows/v$1/" "$server_log" || true; }

# ---------------------------------------------------------------------------
# Release 1.0.0 of three files installed, 2.0.0 published: two changed, one
# unchanged, one new in a new nested folder.
lay_out_whole_update() {
    install_app
    put "$app/core.dll" 'core 1.0.0'
    put "$app/plugins/render.dll" 'render 1.0.0'
    put "$app/readme.txt" 'readme'
    cat > "$app/version.xml" <<'XML'
<filelist curVersion="1.0.0">
    <software version="1.0.0" info="First release.">
        <file name="core.dll" dir="" version="1.0.0"/>
        <file name="render.dll" dir="plugins/" version="1.0.0"/>
        <file name="readme.txt" dir="" version="1.0.0"/>
    </software>
</filelist>
XML
    local release
    release=$(release_dir 2.0.0)
    put "$release/core.dll" 'core 2.0.0'
    put "$release/plugins/render.dll" 'render 2.0.0'
    mkdir -p "$release/plugins/imageformats"
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
}

check_whole_update() {
    [ "$(cat "$app/core.dll")" = 'core 2.0.0' ] || fail "core.dll was not replaced"
    [ "$(cat "$app/plugins/render.dll")" = 'render 2.0.0' ] || fail "render.dll was not replaced"
    [ "$(cat "$app/readme.txt")" = 'readme' ] || fail "the unchanged readme.txt was touched"
    cmp -s "$(release_dir 2.0.0)/plugins/imageformats/jpeg.dll" "$app/plugins/imageformats/jpeg.dll" \
        || fail "the new jpeg.dll in a new nested folder was not installed whole"
    grep -q '^<filelist curVersion="2.0.0">' "$app/version.xml" || fail "the manifest was not rewritten"
    grep -q '^        <file ' "$app/version.xml" || fail "the manifest is not indented by 4"
    [ "$(grep -vc $'\r$' "$app/version.xml")" -eq 0 ] || fail "the manifest's lines do not end in CR LF"
    [ "$(cat "$app/started-with.txt")" = "Z:$app/Brenvoth.exe" ] \
        || fail "Brenvoth.exe was started with '$(cat "$app/started-with.txt")', not its own path"
    [ "$(requests 2.0.0)" -eq 3 ] || fail "expected 3 downloads, the server saw $(requests 2.0.0)"
}

case_whole_update() {
    lay_out_whole_update
    run_update
    check_whole_update
    echo "PASS: whole update of 3 files under wine, manifest rewritten, Brenvoth.exe started"
}

# Wine builds Windows' root store from the host's /etc/ssl/certs once per
# wineserver session, in the first process that needs it, into volatile
# registry keys that last as long as the session. A new session makes the
# next updater's own view of /etc/ssl/certs the one that counts. The https
# cases run alone (RUN_SERIAL), so no other test's programs are ended.
new_wine_session() {
    wineserver -k 2>/dev/null || true
    wineserver -w
}

# Over https from nginx with ssl and HTTP/2, with the OpenSSL DLLs of the
# application folder: refused while the test authority is not trusted,
# installed over HTTP/2 when the updater starts in a private mount namespace
# from which wine builds Windows' store with it.
case_https_update() {
    make_trust_store "$certificates/ca.crt"
    lay_out_whole_update
    local before
    before=$(app_state)

    new_wine_session
    run_update grep -q ' not installed: ' "$work/updater.log"

    [ "$(app_state)" = "$before" ] || fail "the application folder changed: $(diff <(echo "$before") <(app_state))"
    grep -q "^Update to 2.0.0 not installed: .*the server's identity could not be verified" "$work/updater.log" \
        || fail "no failure naming the server's identity: $(cat "$work/updater.log")"
    [ "$(requests 2.0.0)" -eq 0 ] || fail "a file was requested from an unverified server"
    echo "PASS: without the test authority nothing changed: $(grep -o "the server's identity.*" "$work/updater.log")"

    # Schannel asked for, OpenSSL used all the same: only it brings HTTP/2 here.
    new_wine_session
    updater_wrapper=(trusting_test_ca)
    export CURL_SSL_BACKEND=schannel
    run_update
    unset CURL_SSL_BACKEND
    new_wine_session
    check_whole_update
    # ALPN comes from OpenSSL: wine's Schannel offers none and would give HTTP/1.1.
    local over_http2
    over_http2=$(grep -c '"GET /brenvothDownload/windows/v2\.0\.0/[^ ]* HTTP/2\.0"' "$server_log" || true)
    [ "$over_http2" -eq 3 ] || fail "$over_http2 of 3 files came over HTTP/2: $(grep v2.0.0 "$server_log")"
    echo "PASS: whole update of 3 files over https and HTTP/2 under wine, the test authority trusted through Windows' store"
}

# ---------------------------------------------------------------------------
# Brenvoth installed for all users in C:\Program Files\Brenvoth: the release
# staged in the user's %LOCALAPPDATA%\Brenvoth, applied by the service or by
# the same program started elevated. Wine runs every program as one Unix
# user, so these show the road and the refusals, not the privilege boundary.
machine_app="${WINEPREFIX:-$HOME/.wine}/drive_c/Program Files/Brenvoth"
user_dir="${WINEPREFIX:-$HOME/.wine}/drive_c/users/$(whoami)/AppData/Local/Brenvoth"
state_dir="${WINEPREFIX:-$HOME/.wine}/drive_c/ProgramData/Brenvoth/UpdateService"

service() { (cd "$machine_app" && wine ./brenvoth-update-service.exe "$@"); }

install_service() { service install || fail "the service's own install command failed"; }

# Release 1.0.0 installed in Program Files with the keyed updater and
# service; 2.0.0 published and signed; its manifest where the user's
# updater finds it.
lay_out_machine_update() {
    app=$machine_app
    rm -rf "$app" "$user_dir" "$state_dir"
    trap 'timeout 60 wine "$machine_app/brenvoth-update-service.exe" uninstall >/dev/null 2>&1 || true; rm -rf "$machine_app" "$user_dir"; cleanup' EXIT
    install_app
    cp "$BRENVOTH_KEYED_SERVICE" "$app/brenvoth-update-service.exe"
    lay_out_published_update "$app" env WINEPATH="Z:$app" wine "$build/bin/brenvoth-release.exe"
    minisign -S -s "$BRENVOTH_MACHINE_KEY" -m "$www/brenvothDownload/windows/version.xml" >/dev/null \
        || fail "minisign could not sign the manifest"
    cp "$www/brenvothDownload/windows/version.xml.minisig" "$(release_dir 2.0.0)/"
    mkdir -p "$user_dir/download"
    mv "$app/download/version.xml" "$user_dir/download/version.xml"
    rmdir "$app/download"
}

case_machine_service() {
    lay_out_machine_update
    install_service
    wine reg query 'HKLM\SOFTWARE\Brenvoth\UpdateService' /v ApplicationFolder 2>/dev/null \
        | grep -qF 'C:\Program Files\Brenvoth' || fail "the service's folder is not set in HKLM"
    run_update test ! -d "$user_dir/download"
    check_published_update "$app" "$server_log"
    grep -q 'Request to apply the release staged in C:\\users\\.*\\AppData\\Local\\Brenvoth\\download' \
        "$state_dir/service.log" || fail "the service's log names no request: $(cat "$state_dir/service.log")"
    ! grep -q "administrator rights" "$work/updater.log" || fail "the updater asked for administrator rights: $(cat "$work/updater.log")"
    echo "PASS: Brenvoth in Program Files updated 1.0.0 to 2.0.0 through the service, no prompt"
}

# request_service <staged path>: the service started by hand with that
# request, as any user could; waits for it to log how the request ended.
ends_logged() { local ends; ends=$(grep -c 'Not applied\|^.* Applied.\?$' "$state_dir/service.log" 2>/dev/null); echo "${ends:-0}"; }
more_ends_than() { [ "$(ends_logged)" -gt "$1" ]; }
request_service() { send_request "$(printf 'brenvoth-apply 1\nstaged %s\n' "$1")"; }
send_request() {   # send_request <request>
    local before
    before=$(ends_logged)
    wine sc start BrenvothUpdateService "$(printf '%s\n' "$1" | base64 -w0)" \
        >"$work/sc.log" 2>&1 || fail "the service did not start: $(cat "$work/sc.log")"
    wait_for 120 more_ends_than "${before:-0}" || fail "the service logged no end for $1: $(tail -n5 "$state_dir/service.log" 2>&1)"
}

# refused_unchanged <what> <log pattern>: the last request was refused as
# the pattern says, and the application folder is as it was.
refused_unchanged() {
    tail -n1 "$state_dir/service.log" | grep -q "Not applied: .*$2" \
        || fail "$1: not refused for $2: $(tail -n3 "$state_dir/service.log")"
    [ "$(app_state)" = "$before" ] || fail "$1: the application folder changed"
    echo "PASS: $1: refused ($2), nothing changed"
}

case_machine_refusals() {
    lay_out_machine_update
    install_service
    local staged=$user_dir/download wine_staged before
    wine_staged="C:\\users\\$(whoami)\\AppData\\Local\\Brenvoth\\download"
    cp -r "$work/releases/2.0.0/." "$staged/"
    cp "$www/brenvothDownload/windows/version.xml.minisig" "$staged/"
    before=$(app_state)

    printf 'X' | dd of="$staged/core.dll" bs=1 seek=10 conv=notrunc status=none
    request_service "$wine_staged"
    refused_unchanged "a staged file changed after the download" "core.dll differs from the signed manifest"
    cp "$work/releases/2.0.0/core.dll" "$staged/core.dll"

    request_service "$wine_staged\\..\\..\\..\\..\\..\\..\\Windows"
    refused_unchanged "a request with .." "request refused"
    request_service '\\server\share\download'
    refused_unchanged "a UNC path" "request refused"
    request_service 'C:\Windows\Temp'
    refused_unchanged "another folder" "request refused"
    request_service "C:\\$(printf 'a%.0s' $(seq 1100))"
    refused_unchanged "an over-long path" "request refused"
    ln -f "$staged/core.dll" "$user_dir/core-link.dll"
    request_service "$wine_staged"
    refused_unchanged "a hard-linked file in the staged tree" "more than one name"
    rm "$user_dir/core-link.dll"

    # An updater without a key has no per-machine road at all.
    cp "$(dirname "$updater")/BrenvothUpdaterLoopback.exe" "$app/BrenvothUpdater.exe"
    before=$(app_state)
    run_update grep -q ' not installed: ' "$work/updater.log"
    grep -q "not installed: a build without a publisher's key updates no folder for all users" "$work/updater.log" \
        || fail "the unkeyed build gave no reason: $(cat "$work/updater.log")"
    [ "$(app_state)" = "$before" ] || fail "the unkeyed build changed the application folder"
    echo "PASS: an unkeyed updater refuses a per-machine folder, nothing changed"

    # A process outside wine, where no sharing mode of Windows holds it,
    # keeps changing a staged file while the service copies the release:
    # what lands is the signed bytes, or nothing.
    local signed_byte
    signed_byte=$(head -c1 "$staged/core.dll")
    while :; do
        printf 'X' | dd of="$staged/core.dll" bs=1 conv=notrunc status=none
        printf '%s' "$signed_byte" | dd of="$staged/core.dll" bs=1 conv=notrunc status=none
    done &
    local changer=$!
    request_service "$wine_staged"
    kill "$changer"; wait "$changer" 2>/dev/null || true
    if tail -n1 "$state_dir/service.log" | grep -q 'Applied.\?$'; then
        local file
        for file in core.dll plugins/render.dll readme.txt plugins/imageformats/jpeg.dll; do
            cmp -s "$work/releases/2.0.0/$file" "$app/$file" || fail "changed outside wine: $file is not 2.0.0's"
        done
        echo "PASS: a file changed outside wine during the copy: the signed release landed whole"
    else
        refused_unchanged "a file changed outside wine during the copy" "differs from the signed manifest"
    fi
}

case_machine_elevated() {
    lay_out_machine_update
    # The window as the user sees it, the shield on its button.
    grab_window() { import -window "$window" "$build/tests/window-per-machine.png"; }
    before_click=(grab_window)
    run_update test ! -d "$user_dir/download"
    check_published_update "$app" "$server_log"
    grep -q 'No update service .*asking for administrator rights' "$work/updater.log" \
        || fail "the updater did not take the elevated road: $(cat "$work/updater.log")"
    grep -q 'Request to apply the release staged in' "$state_dir/service.log" \
        || fail "the elevated program's log names no request"
    echo "PASS: with no service, the elevated program updated Brenvoth in Program Files"
}

# A per-machine release on trial: the service keeps 1.0.0 in its own folder
# for the updater's trial key, and after the trial puts it back or drops it.
# 2.0.0 brings the stand-in trialstub_<kind>.exe as Brenvoth.exe.
lay_out_machine_trial() {   # lay_out_machine_trial KIND
    rm -rf "$work/releases"
    mkdir -p "$work/releases/2.0.0"
    cp "$(dirname "$stub")/trialstub_$1.exe" "$work/releases/2.0.0/Brenvoth.exe"
    lay_out_machine_update
    cp "$user_dir/download/version.xml" "$work/offered.xml"
}

# Up to the end of the update, 1.0.0 kept by the applying side for this updater.
machine_update() {
    start_servers
    rm -f "$app/started-with.txt"
    start_updater
    xdotool mousemove --window "$window" 547 320 click 1
    wait_for 300 test ! -d "$user_dir/download" || fail "the installation did not finish: $(tail -n 20 "$work/updater.log")"
    [ -e "$state_dir/previous/.updater/claim" ] || fail "no copy of 1.0.0 is kept for the updater"
    cmp -s "$work/releases/2.0.0/Brenvoth.exe" "$app/Brenvoth.exe" || fail "2.0.0 was not installed"
}

# 2.0.0's Brenvoth ends in an access violation: the applying side records it
# as failed and puts 1.0.0 back whole; the updater starts 1.0.0's Brenvoth,
# says so, and does not offer 2.0.0 again.
machine_trial_fails() {
    local before
    before=$(release_state)
    machine_update
    xdotool mousemove --window "$window" 547 320 click 1
    wait_for 240 grep -q 'Restored 1.0.0' "$work/updater.log" \
        || fail "1.0.0 was not restored: $(tail -n 20 "$work/updater.log")"
    grep -q 'Trial of 2.0.0 failed: Brenvoth ended with status 0xC0000005' "$work/updater.log" \
        || fail "the trial's failure is not logged: $(grep Trial "$work/updater.log")"
    grep -q 'Request to put back the release kept in' "$state_dir/service.log" || fail "the service logged no restore"
    wait_for 180 test -s "$app/started-with.txt" || fail "the previous Brenvoth was not started"
    [ "$(release_state)" = "$before" ] || fail "1.0.0 is not back whole: $(diff <(echo "$before") <(release_state))"
    [ ! -e "$state_dir/previous" ] || fail "the kept copy is left"
    [ "$(cat "$state_dir/failed-release")" = 2.0.0 ] || fail "2.0.0 is not recorded as failed where only the service writes"
    wait_for 120 find_window || fail "the window did not come back"
    xdotool mousemove --window "$window" 547 320 click 1
    timeout 240 tail --pid="$updater_pid" -f /dev/null || fail "the updater did not end after OK"

    mkdir -p "$user_dir/download"
    cp "$work/offered.xml" "$user_dir/download/version.xml"
    start_updater
    wait_for 120 grep -q '2.0.0 did not start here before: not offered' "$work/updater.log" \
        || fail "2.0.0 was offered again: $(tail -n 20 "$work/updater.log")"
    xdotool mousemove --window "$window" 547 320 click 1
    timeout 240 tail --pid="$updater_pid" -f /dev/null || fail "the updater did not end after OK"
    [ "$(release_state)" = "$before" ] || fail "2.0.0 was installed again"
}

case_machine_trial_crash() {
    lay_out_machine_trial crash
    install_service
    machine_trial_fails
    echo "PASS: Program Files: a Brenvoth ending in an access violation: the service put 1.0.0 back whole, 2.0.0 not offered again"
}

case_machine_trial_elevated() {
    lay_out_machine_trial crash
    machine_trial_fails
    [ "$(grep -c 'No update service .*asking for administrator rights' "$work/updater.log")" -ge 2 ] \
        || fail "the restore did not take the elevated road: $(cat "$work/updater.log")"
    echo "PASS: Program Files, no service: the elevated program applied 2.0.0 and, after its failed trial, put 1.0.0 back whole"
}

# 2.0.0 passes: the service drops 1.0.0's copy. Before that, anyone's request
# without the updater's key to take 2.0.0 back or drop the copy is refused.
case_machine_trial_passes() {
    lay_out_machine_trial exit_zero
    install_service
    machine_update
    local before key
    before=$(app_state)
    key=$(head -c16 /dev/urandom | od -An -tx1 | tr -d ' \n')
    send_request "$(printf 'brenvoth-apply 1\nrestore\nkey %s' "$key")"
    refused_unchanged "a restore with another key" "no release is kept for this trial key"
    send_request "$(printf 'brenvoth-apply 1\npassed\nkey %s' "$key")"
    refused_unchanged "a drop with another key" "no release is kept for this trial key"
    [ -e "$state_dir/previous/.updater/claim" ] || fail "the refused requests took the kept copy"

    xdotool mousemove --window "$window" 547 320 click 1
    timeout 240 tail --pid="$updater_pid" -f /dev/null || fail "the updater did not end after the trial"
    grep -q 'Trial of 2.0.0 passed' "$work/updater.log" || fail "the trial did not pass: $(grep Trial "$work/updater.log")"
    grep -q 'Request to drop the release kept in' "$state_dir/service.log" || fail "the service was not asked to drop the copy"
    [ ! -e "$state_dir/previous" ] || fail "the kept copy of 1.0.0 is left"
    cmp -s "$work/releases/2.0.0/Brenvoth.exe" "$app/Brenvoth.exe" || fail "2.0.0's Brenvoth.exe did not stay"
    grep -q 'curVersion="2.0.0"' "$app/version.xml" || fail "2.0.0's manifest did not stay"
    echo "PASS: Program Files: 2.0.0 passed its trial, the service dropped 1.0.0's copy; other keys were refused"
}

# ---------------------------------------------------------------------------
# An administrator's policies, set as Group Policy sets them, in the keyed
# updater's HKLM\SOFTWARE\Policies\Brenvoth\Updater; taken out when the case ends.
policy_key='HKLM\SOFTWARE\Policies\Brenvoth\Updater'
set_policy() { wine reg add "$policy_key" /v "$1" /t "$2" /d "$3" /f >/dev/null || fail "cannot set $1"; }
clear_policies() { wine reg delete "$policy_key" /f >/dev/null 2>&1 || true; }
start_policy_case() {
    trap 'clear_policies; cleanup' EXIT
    clear_policies
}

# The entries of release <version>: core.dll and plugins/render.dll as
# published in its folder, with their sizes and digests.
held_entries() {
    local folder name dir
    folder=$(release_dir "$1")
    for dir_name in ":core.dll" "plugins/:render.dll"; do
        dir=${dir_name%%:*} name=${dir_name#*:}
        printf '        <file name="%s" dir="%s" version="%s" size="%s" sha256="%s"/>\n' "$name" "$dir" "$1" \
            "$(stat -c %s "$folder/$dir$name")" "$(sha256sum "$folder/$dir$name" | cut -d' ' -f1)"
    done
}

# lay_out_held_releases <installed version> [<root attributes>]: 2.3.0,
# 2.3.1 and 2.4.0 published in one signed manifest whose current release is
# 2.4.0, placed where the updater finds it; <installed version> installed.
lay_out_held_releases() {
    install_app
    local version manifest=$www/brenvothDownload/windows/version.xml
    for version in 2.3.0 2.3.1 2.4.0; do
        put "$(release_dir $version)/core.dll" "core $version"
        put "$(release_dir $version)/plugins/render.dll" "render $version"
    done
    {
        echo "<filelist curVersion=\"2.4.0\" published=\"1700000000\" ${2:-}>"
        for version in 2.3.0 2.3.1 2.4.0; do
            echo "    <software version=\"$version\" info=\"Release $version.\">"
            held_entries $version
            echo "    </software>"
        done
        echo "</filelist>"
    } > "$manifest"
    minisign -S -s "$BRENVOTH_MACHINE_KEY" -m "$manifest" >/dev/null || fail "minisign could not sign the manifest"
    cp "$manifest.minisig" "$(release_dir 2.4.0)/version.xml.minisig"
    cp "$manifest" "$app/download/version.xml"
    cp "$(release_dir "$1")/core.dll" "$app/core.dll"
    put "$app/plugins/render.dll" "$(cat "$(release_dir "$1")/plugins/render.dll")"
    printf '<filelist curVersion="%s" published="1700000000">\n    <software version="%s">\n%s\n    </software>\n</filelist>\n' \
        "$1" "$1" "$(held_entries "$1")" > "$app/version.xml"
}

# installed_release <version>: both files and the manifest are that release's.
installed_release() {
    cmp -s "$(release_dir "$1")/core.dll" "$app/core.dll" && cmp -s "$(release_dir "$1")/plugins/render.dll" "$app/plugins/render.dll" \
        && grep -q "^<filelist .*curVersion=\"$1\"" "$app/version.xml"
}
# Logs are emptied to count afresh while their server writes on: -a reads past the gap.
files_fetched() { grep -ac "\"GET /brenvothDownload/windows/v[^ ]*\.dll" "$1" || true; }
no_request() { ! grep -aq '"[A-Z]* /brenvothDownload/' "$1" || fail "$2: $(grep -a '"[A-Z]* /brenvothDownload/' "$1")"; }

# open_and_close <log pattern>: the updater shows its window and logs the
# pattern; its button, which only closes, is clicked.
open_and_close() {
    [ -n "${server_log:-}" ] || start_servers
    start_updater
    wait_for 120 grep -q "$1" "$work/updater.log" || fail "the updater did not log '$1': $(cat "$work/updater.log")"
    xdotool mousemove --window "$window" 547 320 click 1
    timeout 240 tail --pid="$updater_pid" -f /dev/null || fail "the updater did not end after OK"
    : > "$work/updater.log"
}

case_policy_disabled() {
    start_policy_case
    lay_out_held_releases 2.3.0
    set_policy UpdatesDisabled REG_DWORD 1
    start_servers
    : > "$server_log"
    local before
    before=$(app_state)
    open_and_close 'Updates are disabled by the administrator'
    [ "$(app_state)" = "$before" ] || fail "the application folder changed"
    no_request "$server_log" "the server saw requests"
    echo "PASS: updates off by policy: the server saw no request, nothing changed"
}

# The side applying a per-machine release reads the policy itself: started
# by hand, as any user could, it refuses while updates are off.
case_policy_machine() {
    lay_out_machine_update
    trap 'clear_policies; timeout 60 wine "$machine_app/brenvoth-update-service.exe" uninstall >/dev/null 2>&1 || true; rm -rf "$machine_app" "$user_dir"; cleanup' EXIT
    install_service
    set_policy UpdatesDisabled REG_DWORD 1
    local staged=$user_dir/download before
    cp -r "$work/releases/2.0.0/." "$staged/"
    cp "$www/brenvothDownload/windows/version.xml.minisig" "$staged/"
    before=$(app_state)
    request_service "C:\\users\\$(whoami)\\AppData\\Local\\Brenvoth\\download"
    refused_unchanged "updates off, the service started by hand" "updates are disabled by the administrator's policy"
}

case_policy_target() {
    start_policy_case
    set_policy TargetVersionPrefix REG_SZ 2.3.
    lay_out_held_releases 2.3.0
    run_update
    installed_release 2.3.1 || fail "a 2.3.0 PC held at 2.3. did not get 2.3.1: $(cat "$app/version.xml")"
    [ "$(requests 2.3.1)" -eq 2 ] || fail "expected 2 files of 2.3.1, the server saw $(requests 2.3.1)"
    echo "PASS: held at 2.3.: a 2.3.0 PC got 2.3.1, not the current 2.4.0"

    lay_out_held_releases 2.4.0
    : > "$server_log"
    open_and_close 'chose no release: the installed one stays'
    installed_release 2.4.0 || fail "the 2.4.0 PC did not stay at 2.4.0"
    [ "$(files_fetched "$server_log")" -eq 0 ] || fail "a file was fetched for a PC that stays"
    echo "PASS: held at 2.3.: a 2.4.0 PC stays"

    set_policy RollbackToTargetVersion REG_DWORD 1
    lay_out_held_releases 2.4.0
    run_update
    installed_release 2.3.1 || fail "the 2.4.0 PC did not go back to 2.3.1 whole: $(cat "$app/version.xml")"
    echo "PASS: with rollback a 2.4.0 PC went back to 2.3.1, both files and the manifest"
}

case_policy_mirror() {
    start_policy_case
    start_servers
    lay_out_held_releases 2.3.0
    local mirror=$work/mirror mirror_port mirror_log=$work/mirror.log
    cp -r "$www" "$mirror"
    mirror_port=$(free_port)
    "$here/../scripts/serve-release" "$mirror" --port "$mirror_port" >/dev/null 2>"$mirror_log" &
    pids+=($!)
    wait_for 120 curl -sf -o /dev/null "http://127.0.0.1:$mirror_port/brenvothDownload/windows/version.xml" \
        || fail "the mirror did not start"
    set_policy UpdateServer REG_SZ "http://127.0.0.1:$mirror_port/brenvothDownload/windows/"
    set_policy AllowHttpUpdateServer REG_DWORD 1
    : > "$server_log"
    run_update
    installed_release 2.4.0 || fail "the release did not come from the mirror: $(tail -n 20 "$work/updater.log")"
    [ "$(files_fetched "$mirror_log")" -eq 2 ] || fail "the mirror served $(files_fetched "$mirror_log") files, not 2"
    no_request "$server_log" "the built-in host was asked"
    echo "PASS: the release came from the mirror on port $mirror_port, the built-in host saw no request"

    lay_out_held_releases 2.3.0
    sed -i '0,/Release 2.4.0/s//Release 2.4.1/' "$app/download/version.xml"
    : > "$mirror_log"
    local before
    before=$(app_state)
    run_update grep -q ' not installed: ' "$work/updater.log"
    [ "$(app_state)" = "$before" ] || fail "a changed manifest changed the application folder"
    grep -q 'not installed: .*signature' "$work/updater.log" || fail "not refused by its signature: $(cat "$work/updater.log")"
    [ "$(files_fetched "$mirror_log")" -eq 0 ] || fail "files were fetched for a changed manifest"
    echo "PASS: the mirror's manifest with one byte changed was refused, nothing changed"
}

case_policy_expired() {
    start_policy_case
    lay_out_held_releases 2.3.0 'expires="1700086400"'
    start_servers
    : > "$server_log"
    local before
    before=$(app_state)
    run_update grep -q ' not installed: ' "$work/updater.log"
    [ "$(app_state)" = "$before" ] || fail "an expired manifest changed the application folder"
    grep -q 'not installed: the downloaded manifest expired on 2023-11-15 22:13:20 UTC' "$work/updater.log" \
        || fail "not refused as expired: $(cat "$work/updater.log")"
    no_request "$server_log" "something was fetched"
    echo "PASS: an expired manifest was refused before anything was fetched"
}

# A release that replaces a library the running updater has loaded: Windows
# lets it be renamed aside, not overwritten; the copy aside goes at the next start.
case_loaded_library() {
    install_app
    put "$app/a.dll" 'a 1.0.0'
    local release
    release=$(release_dir 2.0.0)
    put "$release/a.dll" 'a 2.0.0'
    # Still a loadable library, so that the updater starts again with it.
    { cat "$app/Qt5Xml.dll"; printf 'release 2.0.0'; } > "$work/Qt5Xml.dll"
    mkdir -p "$release" && cp "$work/Qt5Xml.dll" "$release/Qt5Xml.dll"
    cat > "$app/version.xml" <<'XML'
<filelist curVersion="1.0.0"><software version="1.0.0">
    <file name="a.dll" dir="" version="1.0.0"/><file name="Qt5Xml.dll" dir="" version="5.15.8"/>
</software></filelist>
XML
    cat > "$app/download/version.xml" <<'XML'
<filelist curVersion="2.0.0"><software version="2.0.0">
    <file name="a.dll" dir="" version="2.0.0"/><file name="Qt5Xml.dll" dir="" version="5.15.8-2"/>
</software></filelist>
XML

    run_update

    cmp -s "$work/Qt5Xml.dll" "$app/Qt5Xml.dll" || fail "the loaded Qt5Xml.dll was not replaced"
    [ "$(cat "$app/a.dll")" = 'a 2.0.0' ] || fail "a.dll was not replaced"
    # Kept with the rest of 1.0.0, and left where the kept copy went after the trial.
    [ -e "$app/.updater/previous/Qt5Xml.dll" ] \
        || fail "the old Qt5Xml.dll was deleted although the updater had it loaded"
    rm "$app/started-with.txt"
    start_updater
    wait_for 180 test ! -e "$app/.updater/previous/Qt5Xml.dll" \
        || fail "the old Qt5Xml.dll was not deleted at the next start"
    kill "$updater_pid"
    echo "PASS: a loaded Qt5Xml.dll replaced under wine, its old copy deleted at the next start"
}

# Release 1.0.0 of two files installed; 2.0.0 replaces both and adds a third.
lay_out_three_files() {
    install_app
    put "$app/core.dll" 'core 1.0.0'
    put "$app/plugins/render.dll" 'render 1.0.0'
    local release
    release=$(release_dir 2.0.0)
    put "$release/core.dll" 'core 2.0.0'
    put "$release/plugins/render.dll" 'render 2.0.0'
    put "$release/plugins/new.dll" 'new 2.0.0'
    cat > "$app/version.xml" <<'XML'
<filelist curVersion="1.0.0"><software version="1.0.0">
    <file name="core.dll" dir="" version="1.0.0"/><file name="render.dll" dir="plugins/" version="1.0.0"/>
</software></filelist>
XML
    cat > "$app/download/version.xml" <<'XML'
<filelist curVersion="2.0.0"><software version="2.0.0" info="&lt;b&gt;Faster&lt;/b&gt; start-up. Fixed printing.">
    <file name="core.dll" dir="" version="2.0.0"/><file name="render.dll" dir="plugins/" version="2.0.0"/>
    <file name="new.dll" dir="plugins/" version="2.0.0"/>
</software></filelist>
XML
}

check_three_files() {
    [ "$(cat "$app/core.dll")" = 'core 2.0.0' ] || fail "core.dll was not replaced"
    [ "$(cat "$app/plugins/render.dll")" = 'render 2.0.0' ] || fail "render.dll was not replaced"
    [ "$(cat "$app/plugins/new.dll")" = 'new 2.0.0' ] || fail "new.dll was not installed"
    grep -q 'curVersion="2.0.0"' "$app/version.xml" || fail "the manifest was not rewritten"
    ! grep -q 'not installed' "$work/updater.log" || fail "the update failed: $(cat "$work/updater.log")"
}

# hold <file> [read]: another program holds the file until it is killed;
# with "read" it shares reading, as virus scanners and indexers do.
hold() {
    rm -f "$work/held"
    (cd "$work" && exec wine "$holdfile" "$1" "$work/held" "${@:2}") &
    holder_pid=$!
    pids+=($holder_pid)
    wait_for 240 test -e "$work/held" || fail "the helper did not hold $1"
}

# A file held open without sharing by another program blocks its
# replacement: the files already replaced go back, the manifest stays.
case_locked_file() {
    lay_out_three_files
    local before
    before=$(app_state)
    hold "$app/plugins/render.dll"

    run_update grep -q 'not installed' "$work/updater.log"

    [ "$(app_state)" = "$before" ] || fail "the application folder changed: $(diff <(echo "$before") <(app_state))"
    grep -q 'render.dll' "$work/updater.log" || fail "the log does not name the blocked render.dll"
    [ "$(requests 2.0.0)" -eq 3 ] || fail "expected 3 downloads, the server saw $(requests 2.0.0)"
    echo "PASS: a file held open by another program rolled the whole release back under wine"
}

# set_windows_proxy <host:port>: the proxy of the prefix's Internet settings,
# as the settings dialog stores it and WinHTTP (so Qt) reads it: the
# Connections value DefaultConnectionSettings (ProxyEnable and ProxyServer
# alone are not read). Taken out again when the case ends.
connections='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Connections'
# A 32-bit number as the registry's hex bytes, least significant first.
le32() { printf '%02x%02x%02x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24)); }
set_windows_proxy() {
    # Version 0x46, a zero counter, "direct or through this proxy", the
    # proxy's length and name, an empty bypass list and no script address.
    local blob
    blob=$(le32 0x46)$(le32 0)$(le32 3)$(le32 ${#1})$(printf '%s' "$1" | od -An -tx1 | tr -d ' \n')$(le32 0)$(le32 0)
    trap 'wine reg delete "$connections" /v DefaultConnectionSettings /f >/dev/null 2>&1; cleanup' EXIT
    wine reg add "$connections" /v DefaultConnectionSettings /t REG_BINARY /d "$blob" /f >/dev/null \
        || fail "cannot set the proxy in the prefix's registry"
}

# The same update through tinyproxy, set as a Windows user sets a proxy. The
# server ends each connection after two requests, so the files need a new
# tunnel after each GOAWAY.
case_https_proxy() {
    make_trust_store "$certificates/ca.crt"
    lay_out_whole_update
    start_tinyproxy
    set_windows_proxy "127.0.0.1:$proxy_port"
    new_wine_session
    updater_wrapper=(trusting_test_ca)
    run_update
    new_wine_session
    check_whole_update
    [ "$(proxied_connects "localhost:$port")" -ge 2 ] \
        || fail "the proxy opened no new tunnel to localhost:$port after the server ended one: $(cat "$proxy_log")"
    echo "PASS: the same update through tinyproxy set in the Internet settings," \
         "$(proxied_connects "localhost:$port") CONNECT localhost:$port in its log"
}

# A release published with the Windows build of brenvoth-release: core.dll
# arrives by its patch, render.dll (changed by hand) by its .zst, jpeg.dll raw.
case_published_update() {
    install_app
    lay_out_published_update "$app" env WINEPATH="Z:$app" wine "$build/bin/brenvoth-release.exe"
    run_update
    check_published_update "$app" "$server_log"
    echo "PASS: a release published with brenvoth-release.exe installed by patch, .zst and raw file under wine"
}

# As a virus scanner does for a few seconds after a file changes: the
# updater waits for render.dll, and installs whole once it is let go 3 s later.
case_held_for_a_moment() {
    lay_out_three_files
    hold "$app/plugins/render.dll" read
    (
        wait_for 300 grep -q '^Waiting for plugins/render.dll' "$work/updater.log" || exit 1
        if [ -n "${BRENVOTH_SCREENSHOTS:-}" ] && find_window; then
            import -window "$window" "$BRENVOTH_SCREENSHOTS/waiting-for-file.png"
        fi
        sleep 3
        kill "$holder_pid"
    ) &
    pids+=($!)

    run_update

    check_three_files
    grep -q '^Waiting for plugins/render.dll' "$work/updater.log" || fail "the updater did not wait for render.dll"
    echo "PASS: render.dll held with read sharing until 3 s into the wait, then installed whole:" \
         "$(grep -m1 '^Waiting for' "$work/updater.log")"
}

# Held for longer than the updater waits: nothing changes, and the failure
# names the file, the raw error and, where wine can tell, the holder.
case_held_past_the_limit() {
    lay_out_three_files
    local before
    before=$(app_state)
    hold "$app/plugins/render.dll" read

    run_update grep -q 'not installed' "$work/updater.log"

    [ "$(app_state)" = "$before" ] || fail "the application folder changed: $(diff <(echo "$before") <(app_state))"
    grep -q 'not installed: .*plugins/render.dll cannot be moved aside (error 32' "$work/updater.log" \
        || fail "the failure does not name render.dll and error 32: $(cat "$work/updater.log")"
    echo "PASS: render.dll held past the limit changed nothing: $(grep -o 'not installed: .*' "$work/updater.log")"
}

# Brenvoth, still closing when "Update" is clicked, keeps core.dll open and
# ends 5 s later by itself: the updater waits for it, then installs whole.
start_closing_brenvoth() {
    rm -f "$work/holding"
    (cd "$work" && exec wine "$app/Brenvoth.exe" --hold "$app/core.dll" 5 "$work/holding") &
    closing_pid=$!
    pids+=($closing_pid)
    wait_for 240 test -e "$work/holding" || fail "the stand-in Brenvoth did not start"
}

case_brenvoth_closing() {
    lay_out_three_files
    before_click=(start_closing_brenvoth)

    run_update

    check_three_files
    grep -q '^Waiting for Brenvoth to close' "$work/updater.log" || fail "the updater did not wait for Brenvoth"
    wait "$closing_pid" || fail "the stand-in Brenvoth did not end by itself"
    echo "PASS: the update waited for a closing Brenvoth.exe that held core.dll, which ended by itself, and installed whole"
}

# A folder with letters outside the ANSI code page, blanks and an apostrophe:
# the files go in place and Brenvoth.exe gets its whole path, as the wide
# command line carries it.
case_non_ascii_folder() {
    app="$work/Users/Zoë O'Brien/AppData/Local/张伟 app"
    lay_out_whole_update
    run_update
    check_whole_update
    echo "PASS: whole update in '$app' under wine, Brenvoth.exe started with '$(cat "$app/started-with.txt")'"
}

# Sets $window to a shown updater window other than $1.
find_other_window() {
    window=$(xdotool search --onlyvisible --name '^Frame$' 2>/dev/null | grep -vx "$1" | head -n1) || true
    [ -n "$window" ]
}

# A second updater started on the folder while the first downloads: it
# touches nothing, says so, and "OK" ends it without starting Brenvoth.exe;
# the first installs the release whole.
case_second_updater() {
    lay_out_whole_update
    # jpeg.dll takes about 20 s: the first is still downloading meanwhile.
    serve_rate=150000
    start_servers
    rm -f "$app/started-with.txt"
    start_updater
    local first=$window first_pid=$updater_pid
    xdotool mousemove --window "$first" 547 320 click 1
    wait_for 240 test -d "$app/download/plugins" || fail "the first updater did not start downloading"

    (cd "$work" && WINEQT_FORCE_STDERR_LOGGING=1 exec wine "$app/BrenvothUpdater.exe") 2>>"$work/second.log" &
    local second_pid=$!
    pids+=($second_pid)
    wait_for 300 find_other_window "$first" || fail "the second updater's window did not appear"
    wait_for 180 grep -q 'Another updater runs in this folder' "$work/second.log" \
        || fail "the second updater did not say that another one runs: $(cat "$work/second.log")"
    [ -d "$app/download" ] && [ ! -e "$app/plugins/imageformats/jpeg.dll" ] \
        || fail "the first updater was no longer downloading when the second one started"
    ! grep -q 'Recovery' "$work/second.log" || fail "the second updater recovered: $(cat "$work/second.log")"
    xdotool mousemove --window "$window" 547 320 click 1
    timeout 240 tail --pid="$second_pid" -f /dev/null || fail "the second updater did not end after OK"
    [ ! -e "$app/started-with.txt" ] || fail "the second updater started Brenvoth.exe"

    window=$first updater_pid=$first_pid
    wait_for 300 test ! -d "$app/download" || fail "the first updater did not finish"
    xdotool mousemove --window "$window" 547 320 click 1
    timeout 240 tail --pid="$updater_pid" -f /dev/null || fail "the first updater did not end after OK"
    wait_for 180 test -s "$app/started-with.txt" \
        || fail "Brenvoth.exe was not started: $(tail -n 20 "$work/updater.log")"
    check_whole_update
    [ ! -e "$app/BrenvothUpdater.lock" ] || fail "the lock was left behind"
    echo "PASS: a second updater during an update changed nothing and said so; the release installed whole"
}

# ---------------------------------------------------------------------------
# Release 1.0.0 installed, the stub as its Brenvoth.exe; 2.0.0 brings the
# stand-in trialstub_<kind>.exe as Brenvoth.exe, a new core.dll and a new
# library in a new folder.
lay_out_trial() {   # lay_out_trial KIND
    install_app
    put "$app/core.dll" 'core 1.0.0'
    cat > "$app/version.xml" <<'XML'
<filelist curVersion="1.0.0"><software version="1.0.0">
    <file name="Brenvoth.exe" dir="" version="1.0.0"/><file name="core.dll" dir="" version="1.0.0"/>
</software></filelist>
XML
    local release
    release=$(release_dir 2.0.0)
    mkdir -p "$release"
    cp "$(dirname "$stub")/trialstub_$1.exe" "$release/Brenvoth.exe"
    put "$release/core.dll" 'core 2.0.0'
    put "$release/extras/new.dll" 'new 2.0.0'
    cat > "$app/download/version.xml" <<'XML'
<filelist curVersion="2.0.0"><software version="2.0.0" info="Faster start-up.">
    <file name="Brenvoth.exe" dir="" version="2.0.0"/><file name="core.dll" dir="" version="2.0.0"/>
    <file name="new.dll" dir="extras/" version="2.0.0"/>
</software></filelist>
XML
    cp "$app/download/version.xml" "$work/offered.xml"
}

# The application folder but the updater's own records and lock and what the stand-ins write.
release_state() { app_state | grep -v ' \./\.updater/\| \./trial-started\.txt$\| \./BrenvothUpdater\.lock$'; }

# Up to "OK" after an update of 2.0.0 that leaves 1.0.0 kept.
update_and_click_ok() {
    start_servers
    rm -f "$app/started-with.txt"
    start_updater
    xdotool mousemove --window "$window" 547 320 click 1
    wait_for 300 test ! -d "$app/download" || fail "the installation did not finish: $(tail -n 20 "$work/updater.log")"
    [ -e "$app/.updater/previous/.updater/kept" ] || fail "the replaced release is not kept"
    [ "$(cat "$app/core.dll")" = 'core 2.0.0' ] || fail "2.0.0 was not installed"
    xdotool mousemove --window "$window" 547 320 click 1
}

# A new Brenvoth that crashes or cannot load its library: 1.0.0 comes back
# whole under its own manifest, its Brenvoth starts, the window says so, and
# the next start does not offer 2.0.0 again.
trial_fails() {   # trial_fails KIND STATUS
    lay_out_trial "$1"
    local before
    before=$(release_state)
    update_and_click_ok
    wait_for 240 grep -q 'Restored 1.0.0' "$work/updater.log" \
        || fail "1.0.0 was not restored: $(tail -n 20 "$work/updater.log")"
    grep -q "Trial of 2.0.0 failed: Brenvoth ended with status $2" "$work/updater.log" \
        || fail "the trial's failure is not logged as status $2: $(grep Trial "$work/updater.log")"
    wait_for 180 test -s "$app/started-with.txt" || fail "the previous Brenvoth was not started"
    [ "$(release_state)" = "$before" ] || fail "1.0.0 is not back whole: $(diff <(echo "$before") <(release_state))"
    [ ! -e "$app/.updater/previous" ] || fail "the kept copy is left"
    wait_for 120 find_window || fail "the window did not come back"
    kill -0 "$updater_pid" 2>/dev/null || fail "the updater ended instead of saying what happened"
    xdotool mousemove --window "$window" 547 320 click 1
    timeout 240 tail --pid="$updater_pid" -f /dev/null || fail "the updater did not end after OK"

    put "$app/download/version.xml" "$(cat "$work/offered.xml")"
    start_updater
    wait_for 120 grep -q '2.0.0 did not start here before: not offered' "$work/updater.log" \
        || fail "2.0.0 was offered again: $(tail -n 20 "$work/updater.log")"
    xdotool mousemove --window "$window" 547 320 click 1
    timeout 240 tail --pid="$updater_pid" -f /dev/null || fail "the updater did not end after OK"
    [ "$(cat "$app/core.dll")" = 'core 1.0.0' ] || fail "2.0.0 was installed again"
}

case_trial_crash() {
    trial_fails crash 0xC0000005
    echo "PASS: a Brenvoth ending in an access violation: 1.0.0 back whole and started, 2.0.0 not offered again"
}

case_trial_missing_library() {
    trial_fails missing_library 0xC0000135
    echo "PASS: a Brenvoth whose library is missing: 1.0.0 back whole and started, 2.0.0 not offered again"
}

# A new Brenvoth that passes: 2.0.0 stays and no copy of 1.0.0 is left.
trial_passes() {   # trial_passes KIND
    lay_out_trial "$1"
    update_and_click_ok
    timeout 240 tail --pid="$updater_pid" -f /dev/null || fail "the updater did not end after the trial"
    grep -q 'Trial of 2.0.0 passed' "$work/updater.log" || fail "the trial did not pass: $(grep Trial "$work/updater.log")"
    [ -e "$app/trial-started.txt" ] || fail "the new Brenvoth was not started"
    cmp -s "$(release_dir 2.0.0)/Brenvoth.exe" "$app/Brenvoth.exe" || fail "2.0.0's Brenvoth.exe did not stay"
    [ "$(cat "$app/extras/new.dll")" = 'new 2.0.0' ] || fail "2.0.0's new.dll did not stay"
    grep -q '^<filelist curVersion="2.0.0">' "$app/version.xml" || fail "2.0.0's manifest did not stay"
    [ ! -e "$app/.updater/previous" ] || fail "the kept copy of 1.0.0 is left"
}

case_trial_exit_zero() {
    trial_passes exit_zero
    echo "PASS: a Brenvoth ending at once with status 0 passes its trial; no copy of 1.0.0 is left"
}

case_trial_runs() {
    trial_passes runs
    pgrep -f 'Brenvoth\.exe' >/dev/null || fail "the new Brenvoth did not outlive the updater"
    echo "PASS: a Brenvoth running past the trial passes it and outlives the updater; no copy of 1.0.0 is left"
}

# A file to replace with the read-only attribute (wine gives it to a file
# without write permission, for root too): the updater says so before the
# first download and changes nothing.
case_read_only_file() {
    lay_out_whole_update
    chmod a-w "$app/plugins/render.dll"
    local before
    before=$(app_state)
    run_update grep -q ' not installed: ' "$work/updater.log"
    [ "$(app_state)" = "$before" ] || fail "the application folder changed: $(diff <(echo "$before") <(app_state))"
    grep -q '^Update to 2.0.0 not installed: .*plugins/render.dll is read-only' "$work/updater.log" \
        || fail "no failure naming the read-only render.dll: $(cat "$work/updater.log")"
    [ "$(requests 2.0.0)" -eq 0 ] || fail "a file was fetched for a folder that cannot take it"
    echo "PASS: a read-only render.dll under wine: nothing fetched, nothing changed, the file named"
}

# ---------------------------------------------------------------------------
# Power cuts: the application folder on LazyFS, which drops every byte not
# fsynced when it is told to, as a cut drops what the disk had not written.
# LazyFS is the binary in $BRENVOTH_LAZYFS (scripts/test-windows builds it).
power_cut_files=120

# Mounts LazyFS over $work/lazy, its data in $work/backing; sets $lazy_fifo
# and $lazy_log.
mount_lazyfs() {
    [ -x "${BRENVOTH_LAZYFS:-}" ] || skip "no LazyFS built (BRENVOTH_LAZYFS=${BRENVOTH_LAZYFS:-})"
    [ -c /dev/fuse ] && command -v fusermount3 >/dev/null || skip "no FUSE here (/dev/fuse, fusermount3)"
    local conf=$work/lazyfs.toml
    # LazyFS would read a config path holding "-o" as a mount option.
    [[ ${conf,,} != *-o* ]] || skip "the work folder's path $work holds '-o', which LazyFS misreads"
    lazy_fifo=$work/faults.fifo lazy_log=$work/lazyfs.log
    mkdir -p "$work/lazy" "$work/backing"
    cat > "$conf" <<CONF
[faults]
fifo_path="$lazy_fifo"
[cache]
apply_eviction=false
[cache.simple]
custom_size="2gb"
blocks_per_page=1
[filesystem]
log_all_operations=false
logfile="$lazy_log"
CONF
    "$BRENVOTH_LAZYFS" "$work/lazy" --config-path "$conf" -o allow_other -o modules=subdir \
        -o subdir="$work/backing" -f >"$work/lazyfs.out" 2>&1 &
    lazyfs_pid=$!
    trap 'unmount_lazyfs; cleanup' EXIT
    wait_for 60 mountpoint -q "$work/lazy" || fail "LazyFS did not mount: $(cat "$work/lazyfs.out")"
    wait_for 60 test -p "$lazy_fifo" || fail "LazyFS made no fault FIFO"
}

unmount_lazyfs() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    fusermount3 -u "$work/lazy" 2>/dev/null || fusermount3 -uz "$work/lazy" 2>/dev/null || true
    kill "$lazyfs_pid" 2>/dev/null || true
    wait "$lazyfs_pid" 2>/dev/null || true
}

# Drops everything not fsynced, and waits until LazyFS says it has.
drop_unsynced() {
    local before
    before=$(grep -c 'cache is cleared' "$lazy_log" 2>/dev/null || true)
    echo 'lazyfs::clear-cache' > "$lazy_fifo"
    wait_for 60 eval '[ "$(grep -c "cache is cleared" "$lazy_log")" -gt "$before" ]' \
        || fail "LazyFS never said that the cache is cleared"
}

# What the test itself lays down must survive a cut: fsync every file and folder.
sync_tree() { find "$1" -exec sync {} +; }

power_cut_manifest() {   # power_cut_manifest VERSION
    echo "<filelist curVersion=\"$1\"><software version=\"$1\" info=\"Release $1.\">"
    for i in $(seq -w 1 $power_cut_files); do
        echo "<file name=\"f$i.dll\" dir=\"d${i:0:2}/\" version=\"$1\"/>"
    done
    echo '</software></filelist>'
}
power_cut_content() { printf 'f%s %s %08192d' "$1" "$2" 0; }   # power_cut_content INDEX VERSION

# Release 1.0.0 installed and synced, 2.0.0's manifest downloaded, nothing else.
install_power_cut_release() {
    rm -rf "$app/download" "$app"/d[0-9][0-9]
    mkdir -p "$app/download"
    for i in $(seq -w 1 $power_cut_files); do
        mkdir -p "$app/d${i:0:2}"
        power_cut_content "$i" 1.0.0 > "$app/d${i:0:2}/f$i.dll"
    done
    power_cut_manifest 1.0.0 > "$app/version.xml"
    power_cut_manifest 2.0.0 > "$app/download/version.xml"
    sync_tree "$app"
}

# Prints the release that the manifest names if every file is of it, or fails.
whole_release() {
    local version wrong
    version=$(grep -o '^<filelist curVersion="[^"]*"' "$app/version.xml" | cut -d'"' -f2) || true
    [ "$version" = 1.0.0 ] || [ "$version" = 2.0.0 ] \
        || fail "round $round: the manifest names no release: $(head -c 200 "$app/version.xml")"
    wrong=$(for i in $(seq -w 1 $power_cut_files); do
        [ "$(cat "$app/d${i:0:2}/f$i.dll" 2>/dev/null)" = "$(power_cut_content "$i" "$version")" ] || echo "f$i.dll"
    done)
    [ -z "$wrong" ] || fail "round $round: the manifest names $version, but $(echo $wrong | wc -w) files are not" \
                            "of it: $(echo $wrong | cut -d' ' -f1-5)"
    echo "$version"
}

# Every program of the prefix goes at once, its server too, as in a cut.
end_wine() {
    kill -9 "$updater_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    { wait "$updater_pid"; } 2>/dev/null || true
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Sleeps a random part of a span of milliseconds.
sleep_within() { local ms=$((RANDOM * 32768 + RANDOM)); ms=$((ms % ($1 + 1))); sleep "$((ms / 1000)).$(printf %03d $((ms % 1000)))"; }

click_update() { xdotool mousemove --window "$window" 547 320 click 1; }

# Rounds of: a fresh wine, the updater, "Update", a cut at a random moment
# (every other one just after the commit's journal appears, so that cuts
# land in the commit), then a fresh wine and the updater again, which must
# find one whole release, and install 2.0.0 whole where it is offered again.
case_power_cut() {
    local rounds=${BRENVOTH_POWER_CUT_ROUNDS:-10}
    mount_lazyfs
    app=$work/lazy/app
    install_app
    sync_tree "$app"
    put "$app/unsynced.txt" 'not synced'
    drop_unsynced
    [ ! -s "$app/unsynced.txt" ] || fail "a cut kept a file that was never synced: LazyFS does not bite"
    rm -f "$app/unsynced.txt"
    local release i
    release=$(release_dir 2.0.0)
    for i in $(seq -w 1 $power_cut_files); do
        put "$release/d${i:0:2}/f$i.dll" "$(power_cut_content "$i" 2.0.0)"
    done
    start_servers

    local in_commit=0 planted=0 whole=0 completed_after=0 version started
    # How long a whole update takes here, from the click: measured again at
    # every update that completes, so that random cuts span all of it.
    local update_ms round=0
    install_power_cut_release
    start_updater
    started=$(now_ms)
    click_update
    timeout 120 bash -c "while [ -d '$app/download' ]; do sleep 0.01; done" || fail "the uncut update did not finish"
    update_ms=$(($(now_ms) - started))
    [ "$(whole_release)" = 2.0.0 ] || fail "the uncut update did not install 2.0.0"
    end_wine
    mv "$work/updater.log" "$work/updater-0.log"
    echo "an uncut update took $update_ms ms"
    for round in $(seq 1 "$rounds"); do
        local again=
        install_power_cut_release
        start_updater
        click_update
        if [ $((round % 2)) -eq 0 ]; then
            timeout 120 bash -c "until [ -e '$app/download/.updater/journal' ]; do sleep 0.01; done" \
                || fail "round $round: no journal appeared"
            sleep_within 50
        else
            sleep_within $((update_ms * 6 / 5))
        fi
        [ -e "$app/download/.updater/journal" ] && in_commit=$((in_commit + 1))
        end_wine
        drop_unsynced
        # What a cut leaves of a lock taken by an older updater: a file that
        # names the process id that the next updater gets.
        if [ ! -e "$app/BrenvothUpdater.lock" ] && [ $((round % 3)) -eq 0 ]; then
            printf '32\nBrenvothUpdater\n%s\n' "$(hostname)" > "$app/BrenvothUpdater.lock"
            sync_tree "$app/BrenvothUpdater.lock"
        fi
        [ -e "$app/BrenvothUpdater.lock" ] && planted=$((planted + 1))

        start_updater   # recovery runs before the window shows
        ! grep -q 'Another updater runs' "$work/updater.log" \
            || fail "round $round: after the cut the updater took a dead one's lock for a running updater"
        version=$(whole_release)
        if [ "$version" = 1.0.0 ] && [ -e "$app/download/version.xml" ]; then
            started=$(now_ms)
            click_update
            timeout 120 bash -c "while [ -d '$app/download' ]; do sleep 0.01; done" \
                || fail "round $round: the update offered again did not finish"
            update_ms=$(($(now_ms) - started))
            completed_after=$((completed_after + 1)) again=', offered again and completed'
            version=$(whole_release)
        fi
        [ "$version" = 2.0.0 ] || fail "round $round: release 1.0.0 whole, but 2.0.0 is no longer offered"
        whole=$((whole + 1))
        echo "round $round: $(grep -h '^Recovery: ' "$work/updater.log" || echo 'nothing to recover')$again; 2.0.0 whole"
        end_wine
        mv "$work/updater.log" "$work/updater-$round.log"
    done
    local finished undone
    finished=$(cat "$work"/updater-*.log | grep -c '^Recovery: finished' || true)
    undone=$(cat "$work"/updater-*.log | grep -c '^Recovery: undid' || true)
    [ $((finished + undone)) -gt 0 ] || fail "no cut ever interrupted a commit"
    echo "PASS: $whole of $rounds power-cut rounds ended with release 2.0.0 whole under its manifest" \
         "($in_commit cuts during the commit, $finished commits finished by recovery, $undone undone," \
         "$completed_after updates offered again and completed, $planted restarts past a leftover lock file)"
}

# The power-cut release with a Brenvoth.exe of each version: the stub in
# 1.0.0, a stand-in that crashes at once in 2.0.0.
restore_cut_manifest() {   # restore_cut_manifest VERSION
    power_cut_manifest "$1" | sed "s|</software>|<file name=\"Brenvoth.exe\" dir=\"\" version=\"$1\"/></software>|"
}

install_restore_cut_release() {
    install_power_cut_release
    rm -rf "$app/.updater"
    cp "$stub" "$app/Brenvoth.exe"
    restore_cut_manifest 1.0.0 > "$app/version.xml"
    restore_cut_manifest 2.0.0 > "$app/download/version.xml"
    sync_tree "$app"
}

# Whole_release, and Brenvoth.exe of the same release.
whole_release_with_brenvoth() {
    local version
    version=$(whole_release)
    if [ "$version" = 1.0.0 ]; then
        cmp -s "$stub" "$app/Brenvoth.exe" || fail "round $round: 1.0.0, but Brenvoth.exe is not 1.0.0's"
    else
        cmp -s "$(release_dir 2.0.0)/Brenvoth.exe" "$app/Brenvoth.exe" || fail "round $round: 2.0.0, but Brenvoth.exe is not 2.0.0's"
    fi
    echo "$version"
}

# Rounds of: 2.0.0 installed, its Brenvoth crashing on trial, and a cut
# during the restore of 1.0.0 (just after its journal appears, at a random
# moment within the time an uncut restore takes); a fresh wine and the
# updater again, which must find one whole release.
case_restore_power_cut() {
    local rounds=${BRENVOTH_POWER_CUT_ROUNDS:-10}
    mount_lazyfs
    app=$work/lazy/app
    install_app
    local release i
    release=$(release_dir 2.0.0)
    for i in $(seq -w 1 $power_cut_files); do
        put "$release/d${i:0:2}/f$i.dll" "$(power_cut_content "$i" 2.0.0)"
    done
    cp "$(dirname "$stub")/trialstub_crash.exe" "$release/Brenvoth.exe"
    start_servers
    local journal=$app/.updater/previous/.updater/journal restore_ms started round=0 cut=0
    install_restore_cut_release
    start_updater
    click_update
    timeout 120 bash -c "while [ -d '$app/download' ]; do sleep 0.01; done" || fail "the update did not finish"
    click_update
    timeout 120 bash -c "until [ -e '$journal' ]; do sleep 0.01; done" || fail "no restore began"
    started=$(now_ms)
    timeout 120 bash -c "while [ -e '$app/.updater/previous' ]; do sleep 0.01; done" || fail "the restore did not end"
    restore_ms=$(($(now_ms) - started))
    [ "$(whole_release_with_brenvoth)" = 1.0.0 ] || fail "the uncut restore did not put 1.0.0 back"
    end_wine
    mv "$work/updater.log" "$work/updater-0.log"
    echo "an uncut restore took $restore_ms ms"
    for round in $(seq 1 "$rounds"); do
        install_restore_cut_release
        start_updater
        click_update
        timeout 120 bash -c "while [ -d '$app/download' ]; do sleep 0.01; done" \
            || fail "round $round: the update did not finish"
        click_update
        timeout 120 bash -c "until [ -e '$journal' ]; do sleep 0.01; done" || fail "round $round: no restore began"
        sleep_within $((restore_ms * 6 / 5))
        [ -e "$journal" ] && cut=$((cut + 1))
        end_wine
        drop_unsynced
        start_updater   # recovery runs before the window shows
        local version
        version=$(whole_release_with_brenvoth)
        [ "$version" = 1.0.0 ] || fail "round $round: 2.0.0, which failed its trial, is still installed"
        echo "round $round: $(grep -h '^Recovery' "$work/updater.log" || echo 'nothing to recover'); 1.0.0 whole"
        end_wine
        mv "$work/updater.log" "$work/updater-$round.log"
    done
    local finished
    finished=$(cat "$work"/updater-*.log | grep -c '^Recovery of a restore: ' || true)
    [ "$finished" -gt 0 ] || fail "no cut ever interrupted a restore"
    echo "PASS: $rounds power cuts during a restore, each ending with 1.0.0 whole under its manifest" \
         "($cut cuts with the restore's journal on disk, $finished restores recovered)"
}

# Power cuts while the service commits to Program Files: the application
# folder and the service's own folder on LazyFS (wine sees them through
# links of the prefix), the staged release on the ordinary disk. After each
# cut the service is asked again with the signature held back, so that it
# only recovers; the release it leaves must be whole, and 2.0.0 is then
# applied where 1.0.0 came back.
machine_power_cut_release() {
    rm -rf "$app"/d[0-9][0-9] "$user_dir/download"
    for i in $(seq -w 1 $power_cut_files); do
        put "$app/d${i:0:2}/f$i.dll" "$(power_cut_content "$i" 1.0.0)"
        put "$user_dir/download/d${i:0:2}/f$i.dll" "$(power_cut_content "$i" 2.0.0)"
    done
    power_cut_manifest 1.0.0 > "$app/version.xml"
    # A keyed side checks each file's size and digest against the signed manifest.
    local digests=()
    for i in $(seq -w 1 $power_cut_files); do
        digests+=("-e" "s|<file name=\"f$i.dll\" dir=\"d${i:0:2}/\" version=\"2.0.0\"|& size=\"$(power_cut_content "$i" 2.0.0 | wc -c)\" sha256=\"$(power_cut_content "$i" 2.0.0 | sha256sum | cut -d' ' -f1)\"|")
    done
    power_cut_manifest 2.0.0 | sed "${digests[@]}" > "$user_dir/download/version.xml"
    minisign -S -s "$BRENVOTH_MACHINE_KEY" -m "$user_dir/download/version.xml" >/dev/null \
        || fail "minisign could not sign the manifest"
    mv "$user_dir/download/version.xml.minisig" "$work/version.xml.minisig"
    sync_tree "$app/"   # through the prefix's link to LazyFS
}

# What the service logged of the last request it was given.
last_request() { awk '/Request to / { logged = "" } { logged = logged $0 "\n" } END { printf "%s", logged }' "$state_dir/service.log"; }

# The application folder and the service's own folder on LazyFS, the
# service installed; no updater here: the service is asked directly.
lay_out_machine_on_lazyfs() {
    mount_lazyfs
    app=$machine_app
    rm -rf "$app" "$state_dir" "$user_dir"
    mkdir -p "$work/lazy/app" "$work/lazy/state" "$(dirname "$state_dir")"
    ln -s "$work/lazy/app" "$app"
    ln -s "$work/lazy/state" "$state_dir"
    trap 'timeout 60 wine "$machine_app/brenvoth-update-service.exe" uninstall >/dev/null 2>&1 || true;
          unmount_lazyfs; rm -rf "$machine_app" "$state_dir" "$user_dir"; cleanup' EXIT
    install_app
    rmdir "$app/download"
    cp "$BRENVOTH_KEYED_SERVICE" "$app/brenvoth-update-service.exe"
    install_service
    end_wine   # the service's registration saved before the first cut
    # A wine session whose last program ends takes its services with it;
    # Windows keeps a service running whoever started it.
    wineserver -p
}

case_machine_power_cut() {
    local rounds=${BRENVOTH_POWER_CUT_ROUNDS:-10}
    local updater_pid=
    lay_out_machine_on_lazyfs
    local wine_staged="C:\\users\\$(whoami)\\AppData\\Local\\Brenvoth\\download"
    local journal=$state_dir/staging/.updater/journal
    local in_commit=0 recovered=0 applied_after=0 version started apply_ms round=0 recovery
    machine_power_cut_release
    cp "$work/version.xml.minisig" "$user_dir/download/"
    started=$(now_ms)
    request_service "$wine_staged"
    apply_ms=$(($(now_ms) - started))
    [ "$(whole_release)" = 2.0.0 ] || fail "the uncut request did not apply 2.0.0: $(last_request)"
    end_wine
    wineserver -p
    echo "an uncut request took $apply_ms ms"
    for round in $(seq 1 "$rounds"); do
        local again=
        machine_power_cut_release
        cp "$work/version.xml.minisig" "$user_dir/download/"
        wine sc start BrenvothUpdateService "$(printf 'brenvoth-apply 1\nstaged %s\n' "$wine_staged" | base64 -w0)" \
            >"$work/sc.log" 2>&1 || fail "round $round: the service did not start: $(cat "$work/sc.log")"
        if [ $((round % 2)) -eq 0 ]; then
            timeout 120 bash -c "until [ -e '$journal' ]; do sleep 0.01; done" || fail "round $round: no journal appeared"
            sleep_within 50
        else
            sleep_within $((apply_ms * 6 / 5))
        fi
        [ -e "$journal" ] && in_commit=$((in_commit + 1))
        end_wine
        drop_unsynced
        wineserver -p
        rm "$user_dir/download/version.xml.minisig"
        request_service "$wine_staged"
        recovery=$(last_request | grep -o 'Recovery: .*' || echo 'nothing to recover')
        [ "$recovery" = 'nothing to recover' ] || recovered=$((recovered + 1))
        version=$(whole_release)
        if [ "$version" = 1.0.0 ]; then
            cp "$work/version.xml.minisig" "$user_dir/download/"
            request_service "$wine_staged"
            applied_after=$((applied_after + 1)) again=', applied again'
            version=$(whole_release)
        fi
        [ "$version" = 2.0.0 ] || fail "round $round: 1.0.0 whole, but 2.0.0 was not applied again"
        echo "round $round: $recovery$again; 2.0.0 whole"
        end_wine
        wineserver -p
    done
    [ "$recovered" -gt 0 ] || fail "no cut ever interrupted a commit"
    echo "PASS: $rounds of $rounds power-cut rounds during the service's commit ended whole" \
         "($in_commit cuts during the commit, $recovered recoveries, $applied_after applied again)"
}

# Power cuts while the service puts back the release it kept, as after a
# failed trial: rounds of 2.0.0 applied with a trial key, 1.0.0 kept, and a
# cut during the restore asked with that key (just after its journal
# appears, or at a random moment within the time an uncut one takes). The
# next request recovers first; where 2.0.0 is still whole with its copy
# kept, the restore is asked again. Each round must end with 1.0.0 whole.
case_machine_restore_power_cut() {
    local rounds=${BRENVOTH_POWER_CUT_ROUNDS:-10}
    local updater_pid=
    lay_out_machine_on_lazyfs
    local wine_staged="C:\\users\\$(whoami)\\AppData\\Local\\Brenvoth\\download"
    local key=0123456789abcdef0123456789abcdef other=fedcba9876543210fedcba9876543210
    local journal=$state_dir/previous/.updater/journal
    local restore_ms started round=0 cut=0 recovered=0 again version recovery
    apply_keeping_1() {
        machine_power_cut_release
        rm -f "$state_dir/failed-release"
        cp "$work/version.xml.minisig" "$user_dir/download/"
        send_request "$(printf 'brenvoth-apply 1\nstaged %s\nkey %s' "$wine_staged" "$key")"
        [ "$(whole_release)" = 2.0.0 ] || fail "round $round: 2.0.0 was not applied: $(last_request)"
        [ -e "$state_dir/previous/.updater/claim" ] || fail "round $round: 1.0.0 is not kept for the key"
        sync_tree "$app/"
        sync_tree "$state_dir/"
    }
    restore_request() { printf 'brenvoth-apply 1\nrestore\nkey %s\n' "$1" | base64 -w0; }
    apply_keeping_1
    started=$(now_ms)
    send_request "$(printf 'brenvoth-apply 1\nrestore\nkey %s' "$key")"
    restore_ms=$(($(now_ms) - started))
    [ "$(whole_release)" = 1.0.0 ] || fail "the uncut restore did not put 1.0.0 back: $(last_request)"
    end_wine
    wineserver -p
    echo "an uncut restore took $restore_ms ms"
    for round in $(seq 1 "$rounds"); do
        again=
        apply_keeping_1
        wine sc start BrenvothUpdateService "$(restore_request "$key")" >"$work/sc.log" 2>&1 \
            || fail "round $round: the service did not start: $(cat "$work/sc.log")"
        if [ $((round % 2)) -eq 0 ]; then
            timeout 120 bash -c "until [ -e '$journal' ]; do sleep 0.01; done" || fail "round $round: no restore began"
            sleep_within 50
        else
            sleep_within $((restore_ms * 6 / 5))
        fi
        [ -e "$journal" ] && cut=$((cut + 1))
        end_wine
        drop_unsynced
        wineserver -p
        # Another key's request does nothing but let the service recover.
        send_request "$(printf 'brenvoth-apply 1\npassed\nkey %s' "$other")"
        recovery=$(last_request | grep -o 'Recovery: .*' || echo 'nothing to recover')
        [ "$recovery" = 'nothing to recover' ] || recovered=$((recovered + 1))
        version=$(whole_release)
        if [ "$version" = 2.0.0 ]; then
            send_request "$(printf 'brenvoth-apply 1\nrestore\nkey %s' "$key")"
            again=', restored again'
            version=$(whole_release)
        fi
        [ "$version" = 1.0.0 ] || fail "round $round: 2.0.0 whole, but the restore asked again did not put 1.0.0 back"
        [ "$(cat "$state_dir/failed-release")" = 2.0.0 ] || fail "round $round: 2.0.0 is not recorded as failed"
        echo "round $round: $recovery$again; 1.0.0 whole"
        end_wine
        wineserver -p
    done
    [ "$recovered" -gt 0 ] || fail "no cut ever interrupted a restore"
    echo "PASS: $rounds of $rounds power-cut rounds during the service's restore ended with 1.0.0 whole" \
         "($cut cuts with the restore's journal on disk, $recovered recoveries)"
}

declare -F "case_$case_name" >/dev/null || fail "no case named $case_name"
"case_$case_name"
