#!/usr/bin/env bash
# Sets the machine up, builds Korvel and runs every test: once as built, once
# more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
private_runtime_dir

run_tests() {
    local dir="$1" name="$2"
    local log
    log="$(mktemp)"
    if (cd "$dir" && ctest -j "$(nproc)" --output-on-failure --timeout 300) >"$log" 2>&1; then
        echo "$name: $(grep -E 'tests passed' "$log")"
        rm -f "$log"
    else
        cat "$log"
        rm -f "$log"
        echo "$name: FAILED"
        return 1
    fi
}

build "$root/build" -DCMAKE_BUILD_TYPE=Release
run_tests "$root/build" "tests"

# Reports in the system's own libraries (fonts, Qt, X) are suppressed; ours never are.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$root/scripts/ubsan.supp"
build "$root/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DKORVEL_SANITIZE=ON -DKORVEL_BENCH=OFF
run_tests "$root/build-sanitize" "tests under sanitizers"
