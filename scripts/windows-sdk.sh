#!/bin/bash
# Builds the Windows dependencies of the launcher once and caches them: static Qt 5.15 (Core, Gui,
# Widgets), libcurl on Schannel, libzip and GoogleTest, all for x86_64-w64-mingw32, from Debian's
# source packages. Qt 5.15 rather than Qt 6: its programs still start on Windows 7 SP1 and 8.1.
#
#   bash scripts/windows-sdk.sh               build when needed; the last line printed is the folder
#   bash scripts/windows-sdk.sh --print-path  print the folder only; exit 1 when it is not built yet
#
# The folder is ${QUORVEL_WIN_SDK_CACHE:-$HOME/.cache/quorvel}/win-sdk-HASH, HASH taken from this
# file, so any change here builds afresh. Its prefix/ holds the libraries and CMake packages; pass
# the folder as QUORVEL_WIN_SDK with cmake/mingw-w64-x86_64.cmake. A first build takes about
# 35-45 minutes on two cores; an interrupted one resumes at the step that did not finish.
# QUORVEL_WIN_SDK_KEEP_WORK=1 keeps the temporary sources and build folders for a look.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
script="$root/scripts/windows-sdk.sh"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
triple=x86_64-w64-mingw32
sysroot=/usr/$triple
qt_version=5.15.8

hash=$(sha256sum "$script" | cut -c1-12)
cache_root=${QUORVEL_WIN_SDK_CACHE:-$HOME/.cache/quorvel}
sdk="$cache_root/win-sdk-$hash"
prefix="$sdk/prefix"
stamp="$sdk/complete.stamp"

case "${1:-}" in
    --print-path)
        echo "$sdk"
        [ -f "$stamp" ]
        exit
        ;;
    "") ;;
    *)
        echo "usage: $0 [--print-path]" >&2
        exit 2
        ;;
esac

if [ -f "$stamp" ]; then
    echo "$sdk"
    exit 0
fi

mkdir -p "$cache_root"
# Two callers at once would build into the same folder: the second waits for the first.
exec 9>"$sdk.lock"
flock 9
if [ -f "$stamp" ]; then
    echo "$sdk"
    exit 0
fi

mkdir -p "$sdk/logs" "$prefix"
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-win-sdk.XXXXXX")
cleanup() {
    if [ "${QUORVEL_WIN_SDK_KEEP_WORK:-0}" = 1 ]; then
        echo "Work folder kept: $work" >&2
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT

# Runs one step with its output in logs/NAME.log and prints one line with the time it took. A step
# that finished before (same script, hence same folder) is skipped.
step() {
    local name=$1
    shift
    local log="$sdk/logs/$name.log"
    if [ -f "$sdk/logs/$name.done" ]; then
        echo "== $name: done before"
        return 0
    fi
    printf '== %s ... ' "$name"
    local start=$SECONDS rc
    # The subshell keeps set -e in force inside the step, which a "|| handler" would switch off.
    set +e
    (
        set -e
        "$@"
    ) >"$log" 2>&1
    rc=$?
    set -e
    if [ $rc -ne 0 ]; then
        echo "failed"
        echo "!! $name failed (exit $rc), last lines of $log:" >&2
        tail -n 40 "$log" >&2
        exit 1
    fi
    echo "$((SECONDS - start)) s"
    touch "$sdk/logs/$name.done"
}

heavy() {
    nice -n 19 "$@"
}

packages=(
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools libz-mingw-w64-dev
    wine wine64 googletest cmake ninja-build dpkg-dev g++ make perl python3 xz-utils
)

install_packages() {
    local missing=() package
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    if [ ${#missing[@]} -eq 0 ]; then
        echo "All packages present"
        return 0
    fi
    if [ "$(id -u)" != 0 ]; then
        echo "Missing Debian packages: ${missing[*]}; run this as root once" >&2
        return 1
    fi
    echo "Installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

has_deb_src() {
    grep -qsE '^[[:space:]]*Types:.*deb-src' /etc/apt/sources.list.d/*.sources ||
        grep -qsE '^[[:space:]]*deb-src[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list
}

add_deb_src() {
    if has_deb_src; then
        echo "deb-src entry present"
        return 0
    fi
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed -E 's/^([[:space:]]*Types:).*/\1 deb-src/' /etc/apt/sources.list.d/debian.sources \
            >/etc/apt/sources.list.d/debian-src.sources
    elif [ -f /etc/apt/sources.list ]; then
        sed -nE 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list >/etc/apt/sources.list.d/debian-src.list
    else
        echo "No Debian archive entry to copy for deb-src" >&2
        return 1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get update -qq
}

fetch_sources() {
    mkdir -p "$work/src"
    cd "$work/src"
    apt-get source -qq qtbase-opensource-src curl libzip
    ls -d qtbase-opensource-src-$qt_version*/ curl-*/ libzip-*/
}

# Debian's patched source folder of a package, and its version for the stamp.
source_dir() {
    local dir
    dir=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name "$1-*" | head -n1)
    [ -n "$dir" ] || {
        echo "No unpacked source for $1 in $work/src" >&2
        return 1
    }
    echo "$dir"
}

source_version() {
    dpkg-parsechangelog -l "$(source_dir "$1")/debian/changelog" -S Version
}

cmake_cross() {
    heavy cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQUORVEL_WIN_SDK="$sdk" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF "$@"
}

# The static zlib of libz-mingw-w64-dev; without it CMake picks libz.dll.a and the program
# would need zlib1.dll.
zlib_args=(-DZLIB_INCLUDE_DIR="$sysroot/include" -DZLIB_LIBRARY="$sysroot/lib/libz.a" -DZLIB_USE_STATIC_LIBS=ON)

build_curl() {
    local src
    src=$(source_dir curl)
    cmake_cross -S "$src" -B "$work/build-curl" "${zlib_args[@]}" \
        -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DENABLE_MANUAL=OFF -DBUILD_LIBCURL_DOCS=OFF \
        -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DCURL_USE_MBEDTLS=OFF -DCURL_USE_WOLFSSL=OFF \
        -DCURL_USE_BEARSSL=OFF -DCURL_USE_NSS=OFF -DCURL_WINDOWS_SSPI=ON -DENABLE_UNICODE=ON \
        -DCURL_ZLIB=ON -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DUSE_NGHTTP2=OFF -DUSE_NGTCP2=OFF \
        -DUSE_QUICHE=OFF -DUSE_MSH3=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBSSH=OFF \
        -DCURL_USE_GSSAPI=OFF -DUSE_LIBIDN2=OFF -DUSE_WIN32_IDN=OFF -DCURL_USE_LIBPSL=OFF \
        -DUSE_LIBRTMP=OFF -DUSE_WIN32_LDAP=OFF -DCURL_DISABLE_LDAP=ON -DCURL_DISABLE_LDAPS=ON \
        -DHTTP_ONLY=ON \
        -DCURL_CA_BUNDLE=none -DCURL_CA_PATH=none -DCURL_CA_FALLBACK=OFF
    heavy cmake --build "$work/build-curl" -j2
    cmake --install "$work/build-curl"
    # Without "none" above curl bakes this machine's CA file in as the Windows default.
    if grep -qa '/etc/ssl' "$prefix/lib/libcurl.a"; then
        echo "libcurl.a names a CA path of the build machine" >&2
        return 1
    fi
}

build_libzip() {
    local src
    src=$(source_dir libzip)
    cmake_cross -S "$src" -B "$work/build-libzip" "${zlib_args[@]}" \
        -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF \
        -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF \
        -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF \
        -DENABLE_WINDOWS_CRYPTO=ON
    heavy cmake --build "$work/build-libzip" -j2
    cmake --install "$work/build-libzip"
}

build_googletest() {
    cmake_cross -S /usr/src/googletest -B "$work/build-googletest" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
    heavy cmake --build "$work/build-googletest" -j2
    cmake --install "$work/build-googletest"
}

build_qt() {
    local src build="$work/build-qt" shims="$work/shims"
    src=$(source_dir qtbase-opensource-src)
    # Qt's mkspec calls x86_64-w64-mingw32-g++; make sure that is the posix-thread compiler
    # whatever the system alternatives say.
    mkdir -p "$shims" "$build"
    ln -sf "$(command -v $triple-gcc-posix)" "$shims/$triple-gcc"
    ln -sf "$(command -v $triple-g++-posix)" "$shims/$triple-g++"
    export PATH="$shims:$PATH"
    # Qt's configure bootstraps qmake with one make job unless MAKEFLAGS says otherwise.
    export MAKEFLAGS=-j2
    cd "$build"
    heavy "$src/configure" -prefix "$prefix" \
        -xplatform win32-g++ -device-option CROSS_COMPILE=$triple- \
        -static -static-runtime -release -optimize-size -opensource -confirm-license \
        -nomake examples -nomake tests -no-opengl -no-dbus -no-icu -no-glib -no-sql-sqlite -no-pkg-config \
        -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre \
        -no-feature-network -no-feature-sql -no-feature-testlib -no-feature-concurrent -no-feature-xml \
        -no-feature-printer -no-feature-vulkan -no-feature-direct2d -no-feature-tabletevent \
        -no-zstd -no-openssl -make libs -make tools
    heavy make -j2
    make install
    du -sh "$work/src" "$build"
    [ -f "$prefix/lib/cmake/Qt5Widgets/Qt5WidgetsConfig.cmake" ]
    [ -f "$prefix/plugins/platforms/libqwindows.a" ]
}

write_stamp() {
    {
        echo "built $(date -u +%Y-%m-%dT%H:%M:%SZ) by scripts/windows-sdk.sh $hash"
        echo "qtbase-opensource-src $(source_version qtbase-opensource-src)"
        echo "curl $(source_version curl)"
        echo "libzip $(source_version libzip)"
        echo "googletest $(dpkg-query -W -f='${Version}' googletest)"
        echo "libz-mingw-w64-dev $(dpkg-query -W -f='${Version}' libz-mingw-w64-dev)"
        echo "g++-mingw-w64-x86-64-posix $(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)"
    } >"$stamp.new"
    mv "$stamp.new" "$stamp"
}

[ -f "$toolchain" ] || {
    echo "Missing $toolchain" >&2
    exit 1
}

echo "Building the Windows dependencies into $sdk (logs in $sdk/logs)"
# Packages and sources are needed by every later step, so they are never skipped.
rm -f "$sdk/logs/packages.done" "$sdk/logs/deb-src.done" "$sdk/logs/sources.done"
step packages install_packages
step deb-src add_deb_src
step sources fetch_sources
[ -f "$sysroot/lib/libz.a" ] || {
    echo "Missing $sysroot/lib/libz.a (libz-mingw-w64-dev)" >&2
    exit 1
}
step curl build_curl
step libzip build_libzip
step googletest build_googletest
step qt build_qt
write_stamp
rm -f "$sdk"/logs/*.done
echo "Done: $(du -sh "$prefix" | cut -f1) in $prefix"
echo "$sdk"
