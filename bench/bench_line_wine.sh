#!/usr/bin/env bash
# The update of many small files by the Windows build under wine, over the
# emulated wide-area line of bench_line, against curl.exe (the same libcurl,
# nghttp2 and OpenSSL under wine) with 100 streams, and in the same run the
# machine's curl with 100 streams and as one archive over the same line.
# HTTPS with HTTP/2 from nginx, the test authority trusted through Windows'
# store as in the end-to-end tests.
#
#   bench_line_wine.sh <cmake> <Windows build dir> <updater .exe built for https://localhost:PORT>
#                      <stub .exe> <PORT> <certificates dir> <bench_line> <curl.exe>
#                      [--files 2000] [--runs 1] [--keepalive-requests 1000]
#
# The updater's time runs from the click on "Update" to the end of the
# installation (its download folder gone), as bench_line's row for the
# updater in its own process. curl.exe's is its run less that of a
# `curl.exe --version` just before, for the updater's start is not timed
# either; CPU times likewise. nginx's log gives each client's span on the
# server, from the first request's arrival to the last answer's end.
set -euo pipefail
cmake=$1 build=$2 updater=$3 stub=$4 port=$5 certificates=$6 bench_line=$7 curl_exe=$8
shift 8
files=2000 runs=1 keepalive=1000
while [ $# -gt 0 ]; do
    case $1 in
        --files) files=$2 ;;
        --runs) runs=$2 ;;
        --keepalive-requests) keepalive=$2 ;;
        *) echo "unknown option: $1" >&2; exit 2 ;;
    esac
    shift 2
done
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e_lib.sh"
export WINEDEBUG=${WINEDEBUG:--all}
delay_ms=25 rate=100000000
www=$work/www
served=$www/brenvothDownload/windows/v2.0.0
template=$work/app-1.0.0
app=$work/app
site=https://localhost:$port

# Release 2.0.0 of $files files of 10 KiB in 8 folders on the server, their
# bytes again as one archive, the application at 1.0.0 with 2.0.0's manifest
# downloaded, and curl's lists of the files, for Linux paths and for wine's.
lay_out() {
    "$cmake" --install "$build" --prefix "$template" >/dev/null
    cp "$updater" "$template/BrenvothUpdater.exe"
    cp "$stub" "$template/Brenvoth.exe"
    # curl.exe with the very DLLs the updater ships: libcurl, nghttp2, OpenSSL.
    mkdir -p "$work/peer"
    cp "$curl_exe" "$template"/*.dll "$work/peer/"
    python3 - "$files" "$served" "$template" "$work" "$site/brenvothDownload/windows/v2.0.0/" <<'PY'
import os, random, sys
files, served, app, work, url = int(sys.argv[1]), *sys.argv[2:]
paths = [f"small/part{i % 8}/file{i}.bin" for i in range(files)]
def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
def manifest(version):
    lines = [f"<filelist curVersion='{version}'>", f"    <software version='{version}' info='Generated release.'>"]
    lines += [f"        <file name='{os.path.basename(p)}' dir='{os.path.dirname(p)}/' version='{version}'/>" for p in paths]
    return ("\n".join(lines + ["    </software>", "</filelist>", ""])).encode()
archive = bytearray()
for i, path in enumerate(paths):
    data = random.Random(i).randbytes(10 * 1024)
    write(f"{served}/{path}", data)
    write(f"{app}/{path}", f"{os.path.basename(path)} 1.0.0\n".encode())
    archive += data
write(f"{served}/../../../archive.bin", archive)
write(f"{app}/version.xml", manifest("1.0.0"))
write(f"{app}/download/version.xml", manifest("2.0.0"))
for name, prefix in (("linux", ""), ("windows", "Z:")):
    write(f"{work}/{name}.conf", "".join(f'url = "{url}{p}"\noutput = "{prefix}{work}/curl/{p}"\n' for p in paths).encode())
PY
}

now() { date +%s.%N; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a - b }'; }
# children_cpu <variable>: sets it to the CPU seconds, user and system, of
# this shell's children that ended (called in this shell, not in a subshell).
children_cpu() {
    times >"$work/times"
    printf -v "$1" '%s' "$(tail -n1 "$work/times" | awk '{ gsub(/[ms]/, " "); print $1 * 60 + $2 + $3 * 60 + $4 }')"
}
# The CPU seconds so far of a running process.
process_cpu() { awk -v hz="$(getconf CLK_TCK)" '{ print ($14 + $15) / hz }' "/proc/$1/stat"; }

# What nginx logged since it was emptied: the span from the first request's
# arrival to the last answer's end, then the requests by protocol and the
# connections that carried them.
served_summary() {
    awk '{ start = $1 - $2; if (first == "" || start < first) first = start; if ($1 > last) last = $1
           connections[$3] = 1; protocols[$4]++; if ($5 != 200) failed++ }
         END { n = 0; for (c in connections) n++; text = ""
               for (p in protocols) text = text (text ? ", " : "") protocols[p] " x " p
               printf "%.2f %s on %d connection%s%s\n", last - first, text, n, n == 1 ? "" : "s",
                      failed ? ", " failed " not 200" : "" }' "$nginx_log"
}

# row <client> <seconds> <CPU seconds>: one run's row, with nginx's view of it.
rows=$work/rows
row() {
    local summary
    summary=$(served_summary)
    printf '%s\t%s\t%s\t%s\t%s\n' "$1" "$2" "${summary%% *}" "$3" "${summary#* }" >>"$rows"
}

# Not holding the line's input open (fd 7): wine's server outlives the program.
trusted_wine() { (cd "$work" && trusting_test_ca wine "$@") 7>&-; }

update_once() {
    rm -rf "$app" && cp -a "$template" "$app" && sync
    (cd "$work" && WINEQT_FORCE_STDERR_LOGGING=1 trusting_test_ca wine "$app/BrenvothUpdater.exe") \
        2>"$work/updater.log" 7>&- &
    local pid=$!
    pids+=($pid)
    wait_for 300 find_window || fail "the window did not appear"
    : >"$nginx_log"
    local cpu_before started polls=0
    cpu_before=$(process_cpu "$pid")
    started=$(now)
    xdotool mousemove --window "$window" 547 320 click 1
    while [ -d "$app/download" ]; do
        if [ $((++polls % 50)) -eq 0 ] && grep -q ' not installed: ' "$work/updater.log"; then
            fail "the update failed: $(grep ' not installed: ' "$work/updater.log")"
        fi
        [ "$polls" -lt 30000 ] || fail "the installation did not finish in 10 minutes"
        sleep 0.02
    done
    local seconds cpu
    seconds=$(minus "$(now)" "$started")
    cpu=$(minus "$(process_cpu "$pid")" "$cpu_before")
    xdotool mousemove --window "$window" 547 320 click 1
    timeout 240 tail --pid="$pid" -f /dev/null || fail "the updater did not end after OK"
    wait "$pid" || fail "the updater exited with status $?"
    diff -rq "$served/small" "$app/small" >&2 || fail "the updater installed other files than the release's"
    grep -q "curVersion='2.0.0'" "$app/version.xml" || grep -q 'curVersion="2.0.0"' "$app/version.xml" \
        || fail "the updater did not install 2.0.0's manifest"
    row "updater.exe under wine" "$seconds" "$cpu"
    # What the updater logged, each line timed where the message pattern asks for it.
    [ -z "${BRENVOTH_UPDATER_LOG:-}" ] || cat "$work/updater.log" >>"$BRENVOTH_UPDATER_LOG"
}

curl_exe_once() {
    rm -rf "$work/curl" && sync
    local started cpu_before cpu_after start_seconds start_cpu
    started=$(now) && children_cpu cpu_before
    trusted_wine "$work/peer/curl.exe" --version >/dev/null
    start_seconds=$(minus "$(now)" "$started") && children_cpu cpu_after
    start_cpu=$(minus "$cpu_after" "$cpu_before")
    : >"$nginx_log"
    started=$(now) && children_cpu cpu_before
    trusted_wine "$work/peer/curl.exe" --no-progress-meter --fail --http2 --parallel --parallel-max 100 \
        --create-dirs --config "Z:$work/windows.conf" || fail "curl.exe exited with $?"
    local seconds cpu
    seconds=$(minus "$(minus "$(now)" "$started")" "$start_seconds") && children_cpu cpu_after
    cpu=$(minus "$(minus "$cpu_after" "$cpu_before")" "$start_cpu")
    diff -rq "$served/small" "$work/curl/small" >&2 || fail "curl.exe fetched other files"
    row "curl.exe under wine, 100 streams" "$seconds" "$cpu"
}

# curl_once <client> <curl arguments...>: the machine's curl, checked by the caller.
curl_once() {
    local client=$1 started seconds cpu_before cpu_after
    shift
    rm -rf "$work/curl" "$work/single.bin" && sync
    : >"$nginx_log"
    started=$(now) && children_cpu cpu_before
    curl --no-progress-meter --fail --http2 --cacert "$certificates/ca.crt" "$@" || fail "curl exited with $?"
    seconds=$(minus "$(now)" "$started") && children_cpu cpu_after
    row "$client" "$seconds" "$(minus "$cpu_after" "$cpu_before")"
}

# median <client> <column>: the median of a client's column over the runs.
median() {
    awk -F'\t' -v client="$1" -v column="$2" '$1 == client { print $column }' "$rows" | sort -n \
        | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

target() {
    awk -v what="$1" -v a="$(median "updater.exe under wine" 2)" -v b="$(median "$1" 2)" -v limit="$2" \
        'BEGIN { r = a / b; printf "target updater.exe within %gx of %s: %.2fx, %s\n", limit, what, r,
                 r <= limit ? "met" : "MISSED" }'
}
ratio() {
    awk -v what="$1" -v a="$(median "updater.exe under wine" 2)" -v b="$(median "$1" 2)" \
        'BEGIN { printf "updater.exe against %s: %.2fx\n", what, a / b }'
}

make_trust_store "$certificates/ca.crt"
lay_out
nginx_port=$(free_port)
nginx_keepalive_requests=$keepalive
# curl with 100 streams opens a connection for each transfer that waits at a GOAWAY.
nginx_worker_connections=1024
nginx_log_format='$msec $request_time $connection $server_protocol $status'
start_tls_nginx "$www" "$nginx_port" "$certificates"
start_display
# A session of the trusting namespace: wine builds Windows' store from its certificates.
wineserver -k 2>/dev/null || true
wineserver -w
# The line runs until its input ends; what starts after it must not hold that open.
mkfifo "$work/line.in"
"$bench_line" --line "$nginx_port" "$delay_ms" "$rate" "$port" <"$work/line.in" >"$work/line.out" &
line_pid=$!
pids+=($line_pid)
exec 7>"$work/line.in"
wait_for 20 test -s "$work/line.out" || fail "the line did not start"
[ "$(head -n1 "$work/line.out")" = "$port" ] || fail "the line cannot listen on port $port"

for _ in $(seq "$runs"); do
    update_once
    curl_exe_once
    curl_once "curl, 100 streams" --parallel --parallel-max 100 --create-dirs --config "$work/linux.conf"
    diff -rq "$served/small" "$work/curl/small" >&2 || fail "curl fetched other files"
    curl_once "curl, one archive" -o "$work/single.bin" "$site/archive.bin"
    cmp -s "$www/archive.bin" "$work/single.bin" || fail "curl fetched another archive"
done
exec 7>&-
wait "$line_pid" || true

[ "$keepalive" -eq 1000 ] && server="with its defaults" || server="ending each connection after $keepalive requests"
echo "HTTPS and HTTP/2 over the line under wine: $delay_ms ms each way, downstream $((rate / 1000000)) Mbit/s;" \
     "nginx $server; $files x 10 KiB; $runs run(s), medians"
printf '%-34s %-8s %-12s %-7s %s\n' client seconds "server span" "CPU s" "requests nginx served (last run)"
for client in "updater.exe under wine" "curl.exe under wine, 100 streams" "curl, 100 streams" "curl, one archive"; do
    printf '%-34s %-8s %-12s %-7s %s\n' "$client" "$(median "$client" 2)" "$(median "$client" 3)" \
        "$(median "$client" 4)" "$(awk -F'\t' -v c="$client" '$1 == c { last = $5 } END { print last }' "$rows")"
done
target "curl.exe under wine, 100 streams" 1.5
ratio "curl, 100 streams"
ratio "curl, one archive"
echo "line: $(sed -n 2p "$work/line.out")"
