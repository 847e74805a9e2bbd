#!/usr/bin/env bash
# A whole update by keyboard alone, as a screen reader follows it: the real
# executable in Xvfb, on an AT-SPI bus of its own, keys sent with xdotool, a
# real server on loopback, up to the start of a stub Brenvoth.exe.
#
#   e2e_accessible.sh <updater built for http://127.0.0.1:PORT> <PORT>
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# Every bus is the test's own: a D-Bus session started for it, with its socket
# in a runtime folder of its own rather than the user's shared one, and in it
# the accessibility bus and its registry, all ended with the test.
e2e_session_bus=own
source "$here/e2e_lib.sh"
if [ -z "${BRENVOTH_OWN_SESSION:-}" ]; then
    for tool in dbus-run-session dbus-send dbus-update-activation-environment xprop; do
        command -v "$tool" >/dev/null || skip "no $tool"
    done
    [ -x /usr/libexec/at-spi-bus-launcher ] || skip "no AT-SPI bus launcher (at-spi2-core)"
    /usr/bin/python3 -c 'import importlib.util, sys; sys.exit(importlib.util.find_spec("pyatspi") is None)' || skip "no pyatspi (python3-pyatspi)"
    mkdir -m 700 "$work/runtime"
    status=0
    XDG_RUNTIME_DIR=$work/runtime BRENVOTH_OWN_SESSION=1 dbus-run-session -- "$0" "$@" || status=$?
    exit $status
fi
updater=$1
port=$2
app=$work/app
www=$work/www
atspi() { "$here/accessible_tree.py" "$@"; }

mkdir -p "$app/download" "$www/brenvothDownload/windows/v2.0.0"
cp "$updater" "$app/BrenvothUpdater"
printf 'core 1.0.0' > "$app/core.dll"
cat > "$app/Brenvoth.exe" <<STUB
#!/bin/sh
printf '%s\n' "\$@" > "$work/started-with"
STUB
chmod +x "$app/Brenvoth.exe"
manifest() {   # manifest VERSION
    echo "<filelist curVersion=\"$1\"><software version=\"$1\" info=\"Notes of $1.\">"
    echo "<file name=\"core.dll\" dir=\"\" version=\"$1\"/></software></filelist>"
}
manifest 1.0.0 > "$app/version.xml"
manifest 2.0.0 > "$app/download/version.xml"
# Large and slow enough for the progress to be heard on its way.
head -c 3000000 /dev/urandom > "$www/brenvothDownload/windows/v2.0.0/core.dll"

"$here/../scripts/serve-release" "$www" --port "$port" --rate 1500000 >/dev/null 2>"$work/http.log" &
pids+=($!)
wait_for 10 curl -sf -o /dev/null "http://127.0.0.1:$port/" || fail "the HTTP server did not start"
# The accessibility bus, as a desktop session has it before any program
# starts. Qt first reads its address from the X root window's AT_SPI_BUS,
# which the bus launcher sets on the display it was started for, and connects
# at once; without it Qt asks the session bus and, its answer still on the
# way, registers on a connection not yet made ("Error in contacting registry:
# Not connected to D-Bus server") and never again. Xvfb must not reset when its
# last client leaves: the reset takes the root window's properties with it.
start_display -noreset
dbus-update-activation-environment DISPLAY XDG_RUNTIME_DIR || fail "the session takes no DISPLAY"
address=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress) \
    || fail "the session has no accessibility bus (org.a11y.Bus)"
address=$(echo $address)
# bus_pid <bus option> <name>: the process that owns the name on that bus.
bus_pid() {
    dbus-send "$1" --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.GetConnectionUnixProcessID "string:$2" | awk '{print $2}'
}
pids+=("$(bus_pid --session org.a11y.Bus)")
dbus-send --bus="$address" --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.StartServiceByName string:org.a11y.atspi.Registry uint32:0 >/dev/null \
    || fail "the registry did not start on the accessibility bus $address"
pids+=("$(bus_pid --bus="$address" org.a11y.atspi.Registry)" "$(bus_pid --bus="$address" org.freedesktop.DBus)")
root_bus() { xprop -root AT_SPI_BUS 2>/dev/null | sed -n 's/^AT_SPI_BUS(STRING) = "\(.*\)"$/\1/p'; }
[ "$(root_bus)" = "$address" ] \
    || fail "the display's AT_SPI_BUS is '$(root_bus)', not the accessibility bus $address"

# Qt's bridge logs how it joins the registry: the failure, if any, names it.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_LOGGING_RULES='qt.accessibility.atspi=true'
"$app/BrenvothUpdater" 2>"$work/updater.log" &
updater_pid=$!
pids+=($updater_pid)
window=$(timeout 120 xdotool search --sync --onlyvisible --pid "$updater_pid" --name '^Frame$' | head -n1) || true
[ -n "$window" ] || fail "the window did not appear"
wait_for 10 xdotool windowfocus --sync "$window" 2>/dev/null || fail "the window cannot take the focus"
wait_for 60 eval 'atspi tree > "$work/tree" 2>/dev/null' \
    || fail "the updater never appeared on the accessibility bus: $(grep -i -m5 -e registry -e d-bus "$work/updater.log")"
echo "The accessible tree:"
cat "$work/tree"

! grep -E '^ *(push button|text|progress bar) ""' "$work/tree" || fail "a control without a name"
for expected in 'frame "Brenvoth update"' 'push button "Close"' 'text "Release notes"' \
                'progress bar "Download progress"' 'push button "Update" .*\[focused\]'; do
    grep -q "$expected" "$work/tree" || fail "not heard: $expected"
done

# Started directly, not through atspi(), so that its own process is stopped.
"$here/accessible_tree.py" listen > "$work/events" 2>/dev/null &
pids+=($!)
wait_for 10 grep -q listening "$work/events" || fail "no listener"
xdotool key space
wait_for 60 eval '[ ! -d "$app/download" ]' || fail "Space did not run the update: $(tail -n 20 "$work/updater.log")"
wait_for 10 grep -q 'accessible-value on progress bar "Download progress": 100$' "$work/events" \
    || fail "the progress was not heard to reach 100: $(cat "$work/events")"
heard=$(grep -c 'accessible-value on progress bar' "$work/events")
xdotool key Return
timeout 20 tail --pid="$updater_pid" -f /dev/null || fail "Enter on \"OK\" did not end the updater"
# Started detached, the stub may write its file after the updater has ended.
wait_for 60 test -s "$work/started-with" || fail "Brenvoth.exe was not started"
[ "$(cat "$work/started-with")" = "$app/Brenvoth.exe" ] || fail "Brenvoth.exe was not started with its own path"
echo "PASS: Space updated, Enter handed over; the progress was heard $heard times on its way to 100"
