# Sourced by the scripts: installs the Debian packages given as arguments
# that are missing (apt-get update only when something is).
corvan_install() {
    local need=() pkg
    for pkg in "$@"; do
        dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
    done
    if [ ${#need[@]} -gt 0 ]; then
        apt-get update
        apt-get install -y "${need[@]}"
    fi
}
