#!/usr/bin/env bash
# Sets everything up, builds the launcher against the demo operator site, starts the site and
# runs the launcher. Without a desktop ($DISPLAY unset) it runs on a virtual one and says so.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh
port=$(python3 tools/free-port.py)
cmake -S . -B build/demo -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLAUNCHER_LOGIN_URL="http://127.0.0.1:${port}/client" > build-demo-configure.log
rm -f build-demo-configure.log
cmake --build build/demo --target brelvo-launcher

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

python3 tools/demo_site/server.py --port "$port" > /dev/null &
pids+=($!)

if [ -z "${DISPLAY:-}" ]; then
    display=":$(( (RANDOM % 40) + 150 ))"
    Xvfb "$display" -screen 0 1600x900x24 -nolisten tcp -noreset &
    pids+=($!)
    export DISPLAY="$display"
    for _ in $(seq 50); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done
    hsetroot -solid '#406080' > /dev/null 2>&1 || true
    openbox --sm-disable > /dev/null 2>&1 &
    pids+=($!)
    xcompmgr > /dev/null 2>&1 &
    pids+=($!)
    echo "No desktop found: running on the virtual display $DISPLAY."
    echo "Take a look with: DISPLAY=$DISPLAY import -window root shot.png"
fi

echo "Demo operator site: http://127.0.0.1:${port}/client"
set +e
build/demo/brelvo-launcher
code=$?
echo "The launcher ended with code $code."
exit $code
