#!/usr/bin/env bash
# One entry point for the whole project on a Debian 12 machine:
#   ./build.sh demo           build everything and run the main job (setup.exe under Wine, screenshot)
#   ./build.sh test           build everything and run every test (native, then Windows under Wine)
#   ./build.sh fuzz SECONDS   build the fuzz targets and run each for SECONDS
#   ./build.sh bench          build and run the benchmarks
#   ./build.sh deps | build   install missing packages | configure and build the trees
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

# build/win32 is the shipped 32-bit tree; build/win64 builds the same sources for 64-bit Windows,
# whose tests run under 64-bit Wine on every machine. Where the kernel cannot run 32-bit programs the
# 32-bit tree builds only what ships (the distribution), since none of its tests can run here.
configure_and_build() {
    log "building build/host"
    cmake -G Ninja -S . -B build/host -DCMAKE_BUILD_TYPE="$BUILD_TYPE" -DTOLVA_WERROR=$WERROR >/dev/null
    cmake --build build/host -j "$JOBS"
    local tree targets
    for tree in win32 win64; do
        targets=()
        if [ $tree = win32 ] && ! kernel_runs_32bit_programs; then
            targets=(--target dist setuplang)
            log "building build/win32 (the distribution only: this kernel cannot run its tests)"
        else
            log "building build/$tree"
        fi
        cmake -G Ninja -S . -B build/$tree -DCMAKE_BUILD_TYPE="$BUILD_TYPE" -DTOLVA_WERROR=$WERROR \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$(toolchain_of $tree).cmake" >/dev/null
        cmake --build build/$tree -j "$JOBS" "${targets[@]}"
    done
}

toolchain_of() {
    case $1 in
        win32) echo i686 ;;
        win64) echo x86_64 ;;
    esac
}

check_format() {
    log "checking the layout of every C++ file (clang-format 14)"
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run --Werror
}

# The Windows stages: the 64-bit tree's under 64-bit Wine always, the 32-bit tree's where the kernel
# runs 32-bit programs. A stage that cannot start fails the run; so does a run with no Windows stage.
run_tests() {
    local status=0 ran=() skipped=()
    log "native tests"
    ctest --test-dir build/host --output-on-failure -j "$JOBS" --no-tests=error || status=1
    log "Windows tests of build/win64 under 64-bit Wine"
    ctest --test-dir build/win64 --output-on-failure -L wine --no-tests=error || status=1
    ran+=("build/win64 under 64-bit Wine")
    if kernel_runs_32bit_programs; then
        log "Windows tests of build/win32 under 32-bit Wine"
        ctest --test-dir build/win32 --output-on-failure -L wine --no-tests=error || status=1
        ran+=("build/win32 under 32-bit Wine")
    else
        skipped+=("build/win32 under 32-bit Wine: this kernel cannot execute 32-bit x86 programs"
            "(\"$WINE32_ANSWER\")")
    fi
    log "Windows stages run: ${ran[*]}"
    [ ${#skipped[@]} -eq 0 ] || log "Windows stage that could not run here: ${skipped[*]}"
    [ ${#ran[@]} -gt 0 ] || { log "no Windows stage ran"; status=1; }
    return $status
}

# 32-bit Wine needs a kernel with 32-bit x86 support; some virtual machines are built without it.
# Only that one answer counts as "cannot": any other failure of Wine fails the tests as usual.
# Wine's own words are kept in WINE32_ANSWER for the report of stages run.
kernel_runs_32bit_programs() {
    WINE32_ANSWER=$(/usr/lib/wine/wine --version 2>&1) || true
    WINE32_ANSWER=${WINE32_ANSWER##*$'\n'}
    [[ $WINE32_ANSWER != *"Exec format error"* ]]
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
        bash demo/run-demo "$ROOT/build"
        ;;
    fuzz) ensure_packages; run_fuzzers "${2:-}" ;;
    bench) ensure_packages; configure_and_build; bash bench/run-all "$ROOT/build" ;;
    *) sed -n '2,8p' "$0" >&2; exit 64 ;;
esac
