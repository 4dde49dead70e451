#!/usr/bin/env bash
# Runs a fuzz target for a bounded number of iterations on a copy of its seed corpus (the
# seeds in the source tree are never written to). Usage: run-fuzz.sh TARGET SEED_DIR RUNS
set -u
target=$1 seeds=$2 runs=${3:-20000}
work=$(mktemp -d "${TMPDIR:-/tmp}/quarvel-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$work/tmp"
cp -r "$seeds"/. "$work/corpus/" 2>/dev/null
export TMPDIR="$work/tmp" QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$work"
"$target" -runs="$runs" -max_len=65536 -timeout=10 -rss_limit_mb=2048 "$work/corpus"
