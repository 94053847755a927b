#!/usr/bin/env bash
# Builds and runs every benchmark, prints one table and writes it to tools/bench/PERFORMANCE.md.
# Options go to run.py: --runs N (5), --idle-seconds S (10), --no-build, --no-write, --shots DIR.
set -euo pipefail
exec /usr/bin/python3 "$(dirname "$0")/run.py" "$@"
