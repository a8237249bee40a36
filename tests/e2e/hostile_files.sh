#!/usr/bin/env bash
# Hostile image files.  First the files of tests/hostile/crashers, each of which once crashed or
# hung the platform decoder, as they are: each must be refused.  Then mutants of the seed corpus
# (cut, bit-flipped, lying about their size and palette, scribbled, spliced) for
# KRT_HOSTILE_SECONDS (30 by default) or KRT_HOSTILE_CASES mutants (1500 by default, the same
# ones every run; a long run: KRT_HOSTILE_SECONDS=600 KRT_HOSTILE_CASES=0 scripts/test -R
# hostile).  Each file is loaded into a 32-bit and an 8-bit image.  No crash (Wine reports an
# unhandled exception on standard error even when the exit status is 0), no hang, every load
# returns 0 or 1, and nothing is written beside the files.
. "$(dirname "$0")/lib.sh"

HOSTILE=$(cd "$(dirname "$0")/../hostile" && pwd)
seconds=${KRT_HOSTILE_SECONDS:-30}

# run_harness NAME SEED_DIR [VARIABLE=VALUE...]: one run of the harness and its three checks.
run_harness() {
  local name=$1 seeds=$2; shift 2
  local work=$E2E_WORK/$name out=$E2E_ARTIFACTS/$name.log err=$E2E_ARTIFACTS/$name.stderr.log status summary
  mkdir -p "$work"
  ( cd "$E2E_WORK" && export KRT_HOSTILE_SEEDS="$(winepath -w "$seeds" 2>/dev/null)" \
        KRT_HOSTILE_WORK="$(winepath -w "$work" 2>/dev/null)" "$@" &&
      exec timeout -k 5 $((seconds + 90)) wine "$E2E_BUILD/e2e_hostile_files.exe" ) >"$out" 2>"$err"
  status=$?
  summary=$(grep -a '^\[hostile\]' "$out" | tr -d '\r')
  e2e_log "$name: ${summary:-no summary}"
  if ((status != 0)) || grep -qai 'unhandled' "$err"; then
    cp "$work"/* "$E2E_ARTIFACTS/" 2>/dev/null  # the file that was loading
    e2e_log "$name: the last case: $(grep -a '^case' "$out" | tail -1)"
  fi
  check "${name}_end_with_code_0_in_time" equals "$status" 0
  check "${name}_raise_no_unhandled_exception" eval '! grep -ai unhandled "$err" >&2'
  check "${name}_return_0_or_1_and_write_nothing" eval '[[ $summary == *", 0 faults" ]]'
}

run_harness crashers "$HOSTILE/crashers" KRT_HOSTILE_AS_IS=1 KRT_HOSTILE_REFUSED=1 KRT_HOSTILE_SECONDS="$seconds"
run_harness mutants "$HOSTILE/seeds" KRT_HOSTILE_SECONDS="$seconds" KRT_HOSTILE_FIRST="${KRT_HOSTILE_FIRST:-0}" \
            KRT_HOSTILE_CASES="${KRT_HOSTILE_CASES:-1500}"
e2e_finish
