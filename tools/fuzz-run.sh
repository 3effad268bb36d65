#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time: fuzz-run.sh TARGET CORPUS WORKDIR SECONDS [ARGS...]
# The seed corpus in the repository is read, never written; new inputs go to WORKDIR.
set -eu
target=$1 corpus=$2 work=$3 seconds=$4
shift 4
mkdir -p "$work"
exec "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$work/" "$@" "$work" "$corpus"
