#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build
# (warnings as errors), the core under AddressSanitizer and UBSan, then a
# minute of fuzzing for each parser of outside input. The normal build's
# tests include the packages (label "package"): the .deb is built into
# build/packages/ and checked, and the Windows installer of a Windows build's
# quorvane.exe (build-win/, see QUORVANE_WIN_EXE) is built and run under Wine
# when there is one.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_WERROR=ON \
  -DBUILD_TESTING=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 600

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_WERROR=ON \
  -DQUORVANE_SANITIZE=ON -DQUORVANE_UI=OFF -DBUILD_TESTING=ON
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600

# Fuzzing: every parser of outside input (numbers in text, /proc, sysfs, the
# settings file) under libFuzzer with ASan and UBSan, a minute each, two at a
# time. Findings are kept in build-fuzz/fuzz-findings/.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DQUORVANE_FUZZ=ON -DQUORVANE_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link
cmake --build build-fuzz -j"$jobs" --target fuzzers
tests/fuzz/run.sh build-fuzz "${QUORVANE_FUZZ_SECONDS:-60}"
