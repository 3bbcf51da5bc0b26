#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build
# (warnings as errors), the Windows build under Wine, the core under
# AddressSanitizer and UBSan, then half a minute of fuzzing for each parser of
# outside input. The normal build's tests include the packages (label
# "package"): the .deb is built into build/packages/ and checked, and the
# Windows installer of build-win/'s quorvane.exe is built and run under Wine.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_WERROR=ON \
  -DBUILD_TESTING=ON
cmake --build build -j"$jobs"

# The Windows program: cross-built with mingw-w64 before the normal build's
# tests, whose installer test packs its quorvane.exe. Without debug
# information: it makes the statically linked programs ten times larger and
# their linking the slowest step.
cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUORVANE_WERROR=ON -DBUILD_TESTING=ON
cmake --build build-win -j"$jobs"

ctest --test-dir build --output-on-failure -j"$jobs" --timeout 600
# Its tests under Wine: the core's unit tests, the Windows services, and
# quorvane.exe on a private X display. The Wine prefix is made once and kept
# in build-win/.
ctest --test-dir build-win --output-on-failure -j"$jobs" --timeout 600

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_WERROR=ON \
  -DQUORVANE_SANITIZE=ON -DQUORVANE_UI=OFF -DBUILD_TESTING=ON
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600

# Fuzzing: every parser of outside input (numbers in text, /proc, sysfs, the
# settings file) under libFuzzer with ASan and UBSan, half a minute each (the
# committed seeds start them near their full coverage, and the whole run
# stays well under half an hour on two cores), two at a time. Findings are kept in
# build-fuzz/fuzz-findings/.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DQUORVANE_FUZZ=ON -DQUORVANE_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link
cmake --build build-fuzz -j"$jobs" --target fuzzers
tests/fuzz/run.sh build-fuzz "${QUORVANE_FUZZ_SECONDS:-30}"
