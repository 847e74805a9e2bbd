# What the end-to-end scripts share, sourced: a temporary work directory and
# the processes to stop with it, an X server, and for the runs over TLS nginx
# with ssl, tinyproxy, and a private mount namespace that trusts the test
# authority without touching the machine's.

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# in_ci: whether this runs in CI (CI set, and not to false or 0).
in_ci() { [ -n "${CI:-}" ] && [ "${CI:-}" != false ] && [ "${CI:-}" != 0 ]; }
# skip <what is missing>: tells ctest (SKIP_RETURN_CODE 77) that this machine
# cannot run the test; in CI, where nothing may go unchecked, fails instead.
skip() {
    in_ci && fail "this machine lacks what the test needs, and CI skips nothing: $*"
    echo "SKIP: $*"
    exit 77
}

# No D-Bus unless the test starts its own: the updater (Qt's accessibility
# bridge on X11) opens the session bus, and left to itself libdbus would take
# one inherited from the caller or autolaunch one for the display (dbus-x11's
# dbus-launch), a bus no test started or ends. A test that owns a session bus
# sets e2e_session_bus=own before sourcing this file.
[ "${e2e_session_bus:-none}" = own ] || export DBUS_SESSION_BUS_ADDRESS=disabled:
unset AT_SPI_BUS_ADDRESS
# No OpenGL: the updater draws with Qt's raster engine alone, but Qt's xcb
# plugin would load its GLX integration, and with it Mesa's DRI driver
# (swrast_dri.so, from libgl1-mesa-dri, which Xvfb and wine bring), which
# leaves 128 bytes that only the driver points to. The driver is unloaded
# before LeakSanitizer looks, so the leak shows as "<unknown module>", which
# no suppression can name.
export QT_XCB_GL_INTEGRATION=none

# wait_for <seconds> <command...>: polls until the command succeeds.
wait_for() {
    local deadline=$((SECONDS + $1)); shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

# start_display [Xvfb options...]: starts an Xvfb of its own and exports its DISPLAY.
start_display() {
    local fifo=$work/display
    mkfifo "$fifo"
    # At 96 DPI, a screen at 100 %: the window scales with the DPI.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp "$@" 3>"$fifo" >/dev/null 2>&1 &
    pids+=($!)
    export DISPLAY=":$(head -n1 <"$fifo")"
}

# Sets $window to the updater's shown window. xdotool gives up on a search
# when another window vanishes meanwhile (BadWindow), so it is asked again.
find_window() {
    window=$(xdotool search --onlyvisible --name '^Frame$' 2>/dev/null | head -n1) || true
    [ -n "$window" ]
}

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# start_tls_nginx <root> <port> <certificates dir>: nginx serving root over
# https on 127.0.0.1:port, in the foreground with its own configuration, with
# the certificate for localhost and 127.0.0.1. Its requests go to
# $nginx_log, opened for appending: truncate it to count afresh; in nginx's
# combined format, or in $nginx_log_format where that is set. It takes up
# to $nginx_worker_connections connections (64 unless set).
start_tls_nginx() {
    local root=$1 port=$2 certificates=$3 dir=$work/nginx
    mkdir -p "$dir"
    # nginx's workers run as another user; they must reach the files.
    chmod go+rx "$work"
    nginx_log=$dir/access.log
    cat > "$dir/nginx.conf" <<CONF
worker_processes 1;
pid $dir/nginx.pid;
error_log $dir/error.log;
events { worker_connections ${nginx_worker_connections:-64}; }
http {
    ${nginx_log_format:+log_format custom '$nginx_log_format';}
    access_log $nginx_log ${nginx_log_format:+custom};
    client_body_temp_path $dir/body;
    proxy_temp_path $dir/proxy;
    fastcgi_temp_path $dir/fastcgi;
    uwsgi_temp_path $dir/uwsgi;
    scgi_temp_path $dir/scgi;
    server {
        listen 127.0.0.1:$port ssl http2;
        ssl_protocols TLSv1.2 TLSv1.3;
        ssl_certificate $certificates/localhost.crt;
        ssl_certificate_key $certificates/localhost.key;
        # A connection ends after two requests (an HTTP/2 GOAWAY), as busy
        # servers end theirs: the requests it did not take must go again.
        keepalive_requests ${nginx_keepalive_requests:-2};
        root $root;
    }
}
CONF
    nginx -c "$dir/nginx.conf" -p "$dir/" -g 'daemon off;' 2>>"$dir/error.log" &
    pids+=($!)
    # The port is fixed in the updater: make sure the server answering is ours.
    local token=ready-$RANDOM$RANDOM
    printf '%s' "$token" > "$root/$token"
    wait_for 20 curl -sf --cacert "$certificates/ca.crt" -o /dev/null "https://127.0.0.1:$port/$token" \
        || fail "nginx did not serve https on port $port: $(cat "$dir/error.log")"
    : > "$nginx_log"
}

# Debian's tinyproxy on a free loopback port, in the foreground, logging each
# request ("CONNECT host:port", "GET http://...") to $proxy_log; sets $proxy_port.
start_tinyproxy() {
    proxy_port=$(free_port)
    proxy_log=$work/tinyproxy.log
    cat > "$work/tinyproxy.conf" <<CONF
Port $proxy_port
Listen 127.0.0.1
Allow 127.0.0.1
Timeout 30
LogLevel Connect
LogFile "$proxy_log"
CONF
    tinyproxy -d -c "$work/tinyproxy.conf" >/dev/null 2>&1 &
    pids+=($!)
    wait_for 20 bash -c ": </dev/tcp/127.0.0.1/$proxy_port" 2>/dev/null \
        || fail "tinyproxy did not start on port $proxy_port"
}

# proxied_connects <host:port>: how many tunnels to host:port the proxy opened.
proxied_connects() { grep -c "): CONNECT $1 " "$proxy_log" || true; }

# make_trust_store <ca certificate>: $trust_store, a copy of /etc/ssl/certs
# that also trusts the authority, in the bundle and under its hash, for
# every way of looking certificates up (OpenSSL's by hash, wine's from the
# bundle). Skips the test where no private mount namespace can put it in place.
make_trust_store() {
    trust_store=$work/certs
    cp -a /etc/ssl/certs/. "$trust_store/"
    cp "$1" "$trust_store/brenvoth-test-ca.pem"
    cat "$1" >> "$trust_store/ca-certificates.crt"
    openssl rehash "$trust_store" 2>/dev/null || fail "openssl rehash failed in $trust_store"
    unshare -m mount --bind "$trust_store" /etc/ssl/certs 2>/dev/null \
        || skip "no private mount namespace (unshare -m) for the test authority"
}

# trusting_test_ca <command...>: runs the command, in place of this process,
# in a private mount namespace where $trust_store stands over /etc/ssl/certs.
# Nothing outside the namespace sees it.
trusting_test_ca() {
    exec unshare -m sh -c 'mount --bind "$0" /etc/ssl/certs && exec "$@"' "$trust_store" "$@"
}

# lay_out_published_update <app> <publish command...>: releases 1.0.0 and
# 2.0.0 published with brenvoth-release into $work/www (the command runs it,
# from $work, with relative paths: under wine too); 1.0.0 installed in <app>
# as published, 2.0.0's manifest downloaded, and the installed render.dll
# changed by hand, so that no patch applies to it. core.dll and render.dll
# change by a line, readme.txt stays, jpeg.dll is new and incompressible.
lay_out_published_update() {
    local app=$1
    shift
    local releases=$work/releases
    mkdir -p "$releases/1.0.0/plugins" "$releases/2.0.0/plugins/imageformats" "$app/download"
    for name in core render; do
        seq -f "$name line %g of the program" 4000 > "$releases/1.0.0/$name.txt"
        sed 's/^\(.*line 2000 \)/\1changed /' "$releases/1.0.0/$name.txt" > "$releases/2.0.0/$name.txt"
    done
    mv "$releases/1.0.0/core.txt" "$releases/1.0.0/core.dll"
    mv "$releases/2.0.0/core.txt" "$releases/2.0.0/core.dll"
    mv "$releases/1.0.0/render.txt" "$releases/1.0.0/plugins/render.dll"
    mv "$releases/2.0.0/render.txt" "$releases/2.0.0/plugins/render.dll"
    printf 'readme' | tee "$releases/1.0.0/readme.txt" > "$releases/2.0.0/readme.txt"
    head -c 300000 /dev/urandom > "$releases/2.0.0/plugins/imageformats/jpeg.dll"
    printf 'Published by the end-to-end test.\n' > "$work/notes.txt"
    local manifest=www/brenvothDownload/windows/version.xml
    (cd "$work" && "$@" --version 1.0.0 --notes notes.txt --out www releases/1.0.0 >/dev/null) \
        || fail "brenvoth-release could not publish 1.0.0"
    cp -r "$releases/1.0.0/." "$app/"
    cp "$work/$manifest" "$app/version.xml"
    (cd "$work" && "$@" --previous "$manifest" --version 2.0.0 --notes notes.txt --out www releases/2.0.0 \
        >/dev/null) || fail "brenvoth-release could not publish 2.0.0"
    cp "$work/$manifest" "$app/download/version.xml"
    printf 'changed by hand\n' >> "$app/plugins/render.dll"
}

# check_published_update <app> <server log>: 2.0.0 installed, core.dll by its
# patch, render.dll by its .zst, jpeg.dll raw, and nothing fetched twice.
check_published_update() {
    local app=$1 log=$2 release=$work/releases/2.0.0 file
    for file in core.dll plugins/render.dll readme.txt plugins/imageformats/jpeg.dll; do
        cmp -s "$release/$file" "$app/$file" || fail "$file is not 2.0.0's"
    done
    local fetched
    # A keyed updater fetches the signature too.
    fetched=$(grep -o '"GET /brenvothDownload/windows/v2.0.0/[^ ]*' "$log" | sed 's|.*/v2.0.0/||' \
        | grep -vx 'version.xml.minisig' | sort | tr '\n' ' ')
    [[ $fetched =~ ^core.dll.from-[0-9a-f]{16}.zst\ plugins/imageformats/jpeg.dll\ plugins/render.dll.zst\ $ ]] \
        || fail "expected a patch for core.dll, the .zst of render.dll and the raw jpeg.dll; fetched: $fetched"
    echo "fetched $(grep -o '^sent [0-9]*' "$log" | awk '{s += $2} END {print s}') bytes for" \
         "$(cat "$release/core.dll" "$release/plugins/render.dll" "$release/plugins/imageformats/jpeg.dll" | wc -c)" \
         "bytes of changed files: $fetched"
}
