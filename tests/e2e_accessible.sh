#!/usr/bin/env bash
# A whole update by keyboard alone, as a screen reader follows it: the real
# executable in Xvfb, on an AT-SPI bus of its own, keys sent with xdotool, a
# real server on loopback, up to the start of a stub Brenvoth.exe.
#
#   e2e_accessible.sh <updater built for http://127.0.0.1:PORT> <PORT>
set -euo pipefail

# The accessibility bus lives in a D-Bus session: one of our own, with its
# socket in a runtime folder of its own rather than the user's shared one.
# Now and then Qt joins the bus of a session but never registers on it; such
# a session (status 75) is replaced by a fresh one.
missed_bus=75
if [ -z "${BRENVOTH_OWN_SESSION:-}" ]; then
    for attempt in 1 2 3; do
        runtime=$(mktemp -d)
        status=0
        XDG_RUNTIME_DIR=$runtime BRENVOTH_OWN_SESSION=1 dbus-run-session -- "$0" "$@" || status=$?
        rm -rf "$runtime"
        [ $status -eq $missed_bus ] || exit $status
        echo "Session $attempt: the updater never appeared on the accessibility bus"
    done
    # What the test checks cannot be seen on such a machine: skipped (77), not passed.
    echo "SKIP: Qt never registered on the accessibility bus in 3 fresh sessions"
    exit 77
fi
updater=$1
port=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
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
start_display

# The registry runs before the updater starts, which then always finds it.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
atspi tree >/dev/null 2>&1 || true
"$app/BrenvothUpdater" 2>"$work/updater.log" &
updater_pid=$!
pids+=($updater_pid)
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$updater_pid" --name '^Frame$' | head -n1) || true
[ -n "$window" ] || fail "the window did not appear"
wait_for 10 xdotool windowfocus --sync "$window" 2>/dev/null || fail "the window cannot take the focus"
wait_for 20 eval 'atspi tree > "$work/tree" 2>/dev/null' || exit $missed_bus
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
wait_for 60 eval '[ ! -d "$app/download" ]' || fail "Space did not run the update: $(cat "$work/updater.log")"
wait_for 10 grep -q 'accessible-value on progress bar "Download progress": 100$' "$work/events" \
    || fail "the progress was not heard to reach 100: $(cat "$work/events")"
heard=$(grep -c 'accessible-value on progress bar' "$work/events")
xdotool key Return
timeout 20 tail --pid="$updater_pid" -f /dev/null || fail "Enter on \"OK\" did not end the updater"
[ "$(cat "$work/started-with" 2>/dev/null)" = "$app/Brenvoth.exe" ] || fail "Brenvoth.exe was not started"
echo "PASS: Space updated, Enter handed over; the progress was heard $heard times on its way to 100"
