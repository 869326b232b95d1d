#!/bin/sh
# Runs one fuzz target for a number of seconds: its seeds (written by the target on start)
# and the inputs it found so far in fuzz/corpus-work/<target>, failures written to
# fuzz/crashes/<target>/, its output to fuzz/logs/<target>.log. Prints one summary line;
# exits 1 when the target failed.
#   fuzz/run_target.sh <build-dir> <target> <seconds>
set -u
build=$1 target=$2 seconds=$3
work=fuzz/corpus-work/$target
crashes=fuzz/crashes/$target
mkdir -p "$work" "$crashes" fuzz/logs
extra=""
[ "$target" = table_reader ] && extra=fuzz/corpus
FUZZ_SEED_DIR=$work "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 \
  -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$crashes/" \
  "$work" $extra >"fuzz/logs/$target.log" 2>&1
status=$?
runs=$(grep -a 'stat::number_of_executed_units' "fuzz/logs/$target.log" | awk '{print $2}')
if [ $status -eq 0 ]; then
  echo "$target: ${runs:-?} inputs, clean"
else
  echo "$target: FAILED after ${runs:-?} inputs (status $status), see fuzz/logs/$target.log and $crashes/"
  exit 1
fi
