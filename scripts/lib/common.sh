# Shared by the scripts in scripts/: installing what is missing and building.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
WINDOWS_BUILD_DIR=$ROOT/build-windows

# Everything the build, the tests, the demo and the benchmarks need from Debian/Ubuntu.
PACKAGES=(cmake g++ make qtbase5-dev fonts-dejavu-core xvfb xauth xdotool x11-utils
          imagemagick python3 curl nginx-light procps libsodium-dev minisign pkg-config
          openssl ca-certificates libssl-dev tinyproxy libzstd-dev zstd
          dbus-daemon at-spi2-core python3-pyatspi
          qttools5-dev qttools5-dev-tools fonts-noto-core fonts-noto-cjk ccache libcurl4-openssl-dev
          squid krb5-kdc krb5-admin-server krb5-user)
# What scripts/test-windows adds: the cross-compilers, wine and pkg-config,
# and the locale sources from which a test makes wine's display languages.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 pkgconf locales)
# What LazyFS, the power-cut test's file system, is built and mounted with.
LAZYFS_PACKAGES=(fuse3 libfuse3-dev libtoml11-dev libspdlog-dev)
# What scripts/fuzz adds: clang with libFuzzer and the sanitizers' runtimes.
FUZZ_PACKAGES=(clang-16 libfuzzer-16-dev libclang-rt-16-dev)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Another apt-get on the machine (an upgrade, a second checkout's CI) may hold
# dpkg's lock for minutes: every apt-get of ours, and of the build scripts in
# ../shared/tools, waits for it instead of failing at once.
APT_WAIT_CONFIG=${TMPDIR:-/tmp}/brenvoth-apt-lock-wait.conf
echo 'DPkg::Lock::Timeout "900";' > "$APT_WAIT_CONFIG"
with_apt_waiting() {
    as_root env APT_CONFIG="$APT_WAIT_CONFIG" "$@"
}

install_missing() {
    local missing=() pkg
    for pkg in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    with_apt_waiting apt-get update -q
    with_apt_waiting env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# build [extra cmake arguments...]
build() {
    local launcher=()
    # Where ccache is installed, checkouts in other folders share its cache.
    if command -v ccache >/dev/null; then
        export CCACHE_BASEDIR=$ROOT
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" "$@" >/dev/null
    cmake --build "$BUILD_DIR" -j"$(nproc)"
}

# Starts Xvfb on a free display and exports DISPLAY; stop it with stop_xvfb.
start_xvfb() {
    local fifo
    fifo=$(mktemp -u) && mkfifo "$fifo"
    # At 96 DPI, a screen at 100 %: the window scales with the DPI.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$(head -n1 <"$fifo")"
    rm -f "$fifo"
}

stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}

# build_windows <archives dir>: unpacks the Windows libraries (once per
# archive; a newer archive again), cross-builds everything into
# $WINDOWS_BUILD_DIR for the end-to-end ports and lays out the application
# folder in its app/.
build_windows() {
    local archives=$1 libs=$WINDOWS_BUILD_DIR/toolchains archive stamp
    mkdir -p "$libs"
    for archive in "$archives"/*-mingw64.tar.xz; do
        [ -e "$archive" ] || { echo "No Windows libraries in $archives" >&2; return 1; }
        stamp=$libs/$(basename "$archive").unpacked
        if [ ! "$stamp" -nt "$archive" ]; then
            tar -xJf "$archive" -C "$libs"
            touch "$stamp"
        fi
    done
    BUILD_DIR=$WINDOWS_BUILD_DIR build -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DBRENVOTH_WINDOWS_LIBS="$libs" -DBRENVOTH_BUILD_BENCHMARKS=OFF \
        -DBRENVOTH_E2E_PORT="${BRENVOTH_WINDOWS_E2E_PORT:-18652}" \
        -DBRENVOTH_E2E_TLS_PORT="${BRENVOTH_WINDOWS_E2E_TLS_PORT:-18672}"
    rm -rf "$WINDOWS_BUILD_DIR/app"
    cmake --install "$WINDOWS_BUILD_DIR" --prefix "$WINDOWS_BUILD_DIR/app" >/dev/null
    echo "Application folder: $WINDOWS_BUILD_DIR/app"
}

# new_wine_prefix <prefix> <log>: a fresh wine prefix, exported, and one
# wineserver for the run, persistent and started here with its output (and
# that of the wine services wineboot starts) going to <log>: started by the
# first test instead, they kept that test's output open, and ctest counted it
# running until the last wine program of a busy stretch had ended (703 s for
# tst_updatewindow, whose own run takes 3 s), under a limit of 1,500 s.
new_wine_prefix() {
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >"$2" 2>&1
    wineboot -i </dev/null >>"$2" 2>&1
    # The session that made the prefix runs two service managers, each
    # answering for the services made through it: a new one runs one. Its
    # own programs start here, not in a test whose output they would hold.
    wineserver -k && wineserver -w
    wineserver -p </dev/null >>"$2" 2>&1
    wineboot </dev/null >>"$2" 2>&1
}
