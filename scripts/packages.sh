# Sourced by the set-up scripts: installs the Debian packages the project needs when any is missing.

QUORVEL_PACKAGES=(
    cmake ninja-build g++ pkg-config qt6-base-dev qtbase5-dev libxkbcommon-dev libcurl4-openssl-dev libzip-dev
    zlib1g-dev libx11-dev libgtest-dev xvfb xauth xdotool x11-utils imagemagick zip libarchive-tools openssl python3
    binutils fonts-dejavu-core fonts-wine xdg-utils nsis
)

# ensure_packages: installs what is missing of QUORVEL_PACKAGES; quiet, one line, the log shown only on failure.
ensure_packages() {
    local missing=()
    local package
    for package in "${QUORVEL_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" != 0 ]; then
        echo "Missing Debian packages: ${missing[*]}" >&2
        echo "Install them as root: apt-get install -y --no-install-recommends ${missing[*]}" >&2
        return 1
    fi
    echo "Installing Debian packages: ${missing[*]}"
    local log
    log=$(mktemp)
    if ! { DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
        tail -n 30 "$log" >&2
        rm -f "$log"
        echo "Installing the packages failed." >&2
        return 1
    fi
    rm -f "$log"
}

# ensure_runtime_dir FOLDER: Qt warns on every start without a private runtime folder; when there is none, FOLDER
# (kept with the script's other files, so nothing is left behind elsewhere) serves.
ensure_runtime_dir() {
    if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
        mkdir -p "$1"
        chmod 700 "$1"
        export XDG_RUNTIME_DIR=$1
    fi
}
