#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: the unit tests on the simulated desktop under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the whole suite (unit and end-to-end on
# the real desktop under Xvfb with openbox) on a normal build.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
jobs=$(nproc)

echo "== Unit tests with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLAUNCHER_BUILD_GTK=OFF \
    -DLAUNCHER_SANITIZE=ON -DLAUNCHER_WERROR=ON > /dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/asan -L unit --output-on-failure -j "$jobs"

echo "== All tests on a normal build"
# The demo site of the end-to-end tests listens on the port the launcher was built for.
port=$(python3 tools/free-port.py)
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLAUNCHER_WERROR=ON \
    -DLAUNCHER_LOGIN_URL="http://127.0.0.1:${port}/client" > /dev/null
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs"
