#!/usr/bin/env bash
# One entry point for the whole project on a Debian 12 machine:
#   ./build.sh demo           build everything and run the main job (setup.exe under Wine, screenshot)
#   ./build.sh test           build everything and run every test (native, then Windows under Wine)
#   ./build.sh fuzz SECONDS   build the fuzz targets and run each for SECONDS
#   ./build.sh bench          build and run the benchmarks
#   ./build.sh deps | build   install missing packages | configure and build both trees
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
JOBS=${JOBS:-$(nproc)}
BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
WERROR=OFF
[ "${CI:-}" = true ] && WERROR=ON

log() { printf '== %s\n' "$*" >&2; }

# Worktrees and fresh clones of the same sources share compiled objects.
export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1

ensure_packages() {
    local wanted=() missing=() pkg
    mapfile -t wanted < <(grep -v -E '^\s*(#|$)' scripts/packages.txt)
    if printf '%s\n' "${wanted[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
        log "adding the i386 architecture"
        dpkg --add-architecture i386
        missing=("${wanted[@]}")
    else
        for pkg in "${wanted[@]}"; do
            dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
        done
    fi
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    log "building build/host"
    cmake -G Ninja -S . -B build/host -DCMAKE_BUILD_TYPE="$BUILD_TYPE" -DTOLVA_WERROR=$WERROR >/dev/null
    cmake --build build/host -j "$JOBS"
    log "building build/win32"
    cmake -G Ninja -S . -B build/win32 -DCMAKE_BUILD_TYPE="$BUILD_TYPE" -DTOLVA_WERROR=$WERROR \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
    cmake --build build/win32 -j "$JOBS"
}

check_format() {
    log "checking the layout of every C++ file (clang-format 14)"
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run --Werror
}

run_tests() {
    local status=0
    log "native tests"
    ctest --test-dir build/host --output-on-failure -j "$JOBS" || status=1
    if kernel_runs_32bit_programs; then
        log "Windows tests under Wine"
        ctest --test-dir build/win32 --output-on-failure -L wine || status=1
    else
        log "SKIPPED: the Windows tests under Wine. This machine's kernel cannot execute 32-bit x86 programs"
        log "(\"$(wine --version 2>&1 | tail -1)\"), so 32-bit Wine cannot start here; they run wherever it can."
    fi
    return $status
}

# 32-bit Wine needs a kernel with 32-bit x86 support; some virtual machines are built without it.
# Only that one answer counts as "cannot": any other failure of Wine fails the tests as usual.
kernel_runs_32bit_programs() {
    local answer
    answer=$(wine --version 2>&1) || true
    [[ $answer != *"Exec format error"* ]]
}

build_fuzzers() {
    log "building build/fuzz"
    CC=clang CXX=clang++ cmake -G Ninja -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVA_FUZZ=ON >/dev/null
    cmake --build build/fuzz -j "$JOBS"
}

run_fuzzers() {
    local seconds=${1:?seconds per fuzz target}
    build_fuzzers
    bash fuzz/run-all "$ROOT/build/fuzz" "$seconds"
}

case "${1:-}" in
    deps) ensure_packages ;;
    build) ensure_packages; configure_and_build ;;
    test) ensure_packages; check_format; configure_and_build; run_tests ;;
    demo)
        ensure_packages
        configure_and_build
        if ! kernel_runs_32bit_programs; then
            log "the demo runs setup.exe under 32-bit Wine, which this machine's kernel cannot start"
            log "(\"$(wine --version 2>&1 | tail -1)\"); build/win32/src/setup/setup.exe is built"
            exit 1
        fi
        bash demo/run-demo "$ROOT/build"
        ;;
    fuzz) ensure_packages; run_fuzzers "${2:-}" ;;
    bench) ensure_packages; configure_and_build; bash bench/run-all "$ROOT/build" ;;
    *) sed -n '2,8p' "$0" >&2; exit 64 ;;
esac
