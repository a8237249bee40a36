#!/usr/bin/env bash
# Runs a fuzz target for a fixed time on the seed corpus kept in the repository and prints its
# figures: executions, seconds, corpus size and findings.  Fails when the target found anything.
#
#   run_fuzz.sh FUZZER SEED_DIR SECONDS
# New inputs go to a working corpus beside the fuzzer (the repository's seeds stay as they
# are); findings go to a findings folder there.
set -uo pipefail
fuzzer=$1 seeds=$2 seconds=${3:-30}
name=$(basename "$fuzzer")
work=$(dirname "$fuzzer")/corpus.$name
findings=$(dirname "$fuzzer")/findings.$name
log=$(dirname "$fuzzer")/$name.log
if [[ ! -x $fuzzer ]]; then echo "[fuzz] $fuzzer was not built" >&2; exit 1; fi
mkdir -p "$work" "$findings"
rm -f "$(dirname "$fuzzer")/$name.figures"
before=$(find "$findings" -type f | wc -l)
"$fuzzer" "$work" "$seeds" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
          -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1
status=$?
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)  # none after a finding
corpus=$(sort -u <(ls "$work") <(ls "$seeds") | wc -l)
found=$(( $(find "$findings" -type f | wc -l) - before ))
# The figures also go to a file beside the fuzzer, which scripts/test prints with its summary.
printf '[fuzz] %s: %s executions in %s s, corpus %s inputs (%s seeds), %s findings, exit %s\n' \
       "$name" "${executions:-?}" "${took:-at most $seconds}" "$corpus" "$(ls "$seeds" | wc -l)" "$found" "$status" \
  | tee "$(dirname "$fuzzer")/$name.figures"
if (( status != 0 || found != 0 )); then
  tail -40 "$log"
  exit 1
fi
