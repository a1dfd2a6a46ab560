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
    echo "Installing: ${missing[*]}"
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

# build DIR [cmake options...]: configures once, then builds; output only on failure.
build() {
    local dir="$1"
    shift
    local log
    log="$(mktemp)"
    if [[ ! -f "$dir/build.ninja" ]]; then
        if ! cmake -S "$root" -B "$dir" -G Ninja "$@" >"$log" 2>&1; then
            cat "$log"
            rm -f "$log"
            return 1
        fi
    fi
    if ! cmake --build "$dir" >"$log" 2>&1; then
        cat "$log"
        rm -f "$log"
        return 1
    fi
    rm -f "$log"
}
