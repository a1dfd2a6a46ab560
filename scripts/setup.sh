#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build Korvel, then builds it.
# Quiet when everything is already there; safe to run again.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
packages=(g++ cmake ninja-build qt6-base-dev libgl-dev libgtest-dev libgmock-dev fonts-wqy-microhei qt6-translations-l10n)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if ((${#missing[@]} > 0)); then
    echo "Installing ${missing[*]} (a few minutes on a fresh machine)..."
    export DEBIAN_FRONTEND=noninteractive
    apt_log="$(mktemp)"
    if ! { apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}"; } \
        >"$apt_log" 2>&1; then
        cat "$apt_log"
        rm -f "$apt_log"
        exit 1
    fi
    rm -f "$apt_log"
fi

# build DIR [cmake options...]: configures once, then builds, showing the
# build's progress; says nothing when everything is up to date.
build() {
    local dir="$1"
    shift
    local log
    log="$(mktemp)"
    if [[ ! -f "$dir/build.ninja" ]]; then
        echo "Configuring the build in $dir..."
        if ! cmake -S "$root" -B "$dir" -G Ninja "$@" >"$log" 2>&1; then
            cat "$log"
            rm -f "$log"
            return 1
        fi
    fi
    rm -f "$log"
    # Ninja prints one numbered line per step, and a compiler's complaints;
    # the check of the source folders alone is no news.
    cmake --build "$dir" 2>&1 | {
        local line announced=""
        while IFS= read -r line; do
            case "$line" in
                *"Re-checking globbed directories"* | "ninja: no work to do.") continue ;;
            esac
            if [[ -z "$announced" ]]; then
                echo "Building Korvel in $dir (several minutes the first time)..."
                announced=1
            fi
            printf '%s\n' "$line"
        done
    }
}

# Qt wants a private runtime folder; outside a desktop session (as root over
# ssh, say) there is none, so give the program one of its own.
private_runtime_dir() {
    if [[ -n "${XDG_RUNTIME_DIR:-}" ]]; then
        return
    fi
    XDG_RUNTIME_DIR="$(mktemp -d "${TMPDIR:-/tmp}/korvel-runtime-XXXXXX")"
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
}
