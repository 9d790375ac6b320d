# Sourced by the set-up scripts: installs the Debian packages the project needs when any is missing.

QUORVEL_PACKAGES=(
    cmake ninja-build g++ pkg-config qt6-base-dev qtbase5-dev libcurl4-openssl-dev libzip-dev zlib1g-dev libx11-dev libgtest-dev
    xvfb xauth xdotool x11-utils imagemagick zip libarchive-tools openssl python3 binutils fonts-dejavu-core
)

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
    echo "Installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Qt warns on every start without a private runtime folder.
ensure_runtime_dir() {
    if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -d "$XDG_RUNTIME_DIR" ]; then
        XDG_RUNTIME_DIR=$(mktemp -d)
        chmod 700 "$XDG_RUNTIME_DIR"
        export XDG_RUNTIME_DIR
    fi
}
