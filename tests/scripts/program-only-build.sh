#!/usr/bin/env bash
# The first start (scripts/run) builds the program and its tools only: its build graph holds
# the programs and the files beside them, and no test or benchmark.
set -euo pipefail
source_dir=$1
build_dir=$(mktemp -d)
trap 'rm -rf "$build_dir"' EXIT
cmake -S "$source_dir" -B "$build_dir" -G Ninja -DXARVANE_TESTS=OFF >/dev/null
targets=$(ninja -C "$build_dir" -t targets all)
for program in bin/xarvane bin/xarvane-setup bin/xarvane-sim bin/Conn1.wav bin/help/index.html; do
    grep -q "^$program:" <<<"$targets" || { echo "missing from the program build: $program"; exit 1; }
done
if grep -E '^(tests|bench)/' <<<"$targets"; then
    echo "the program build includes tests or benchmarks (above)"
    exit 1
fi
echo "program build: $(ninja -C "$build_dir" -n | tail -n 1)"
