#!/usr/bin/env bash
# Hostile image files: mutants of the seed corpus (cut, bit-flipped, lying about their size and
# palette, scribbled, spliced) loaded into a 32-bit and an 8-bit image for KRT_HOSTILE_SECONDS
# (30 by default) or KRT_HOSTILE_CASES mutants (1500 by default, the same ones every run; a long
# run: KRT_HOSTILE_SECONDS=600 KRT_HOSTILE_CASES=0 scripts/test -R hostile).  No crash (Wine
# reports an unhandled exception on standard error even when the exit status is 0), no hang,
# every load returns 0 or 1, and nothing is written beside the files.
. "$(dirname "$0")/lib.sh"

seconds=${KRT_HOSTILE_SECONDS:-30}
mkdir -p "$E2E_WORK/mutants"
export KRT_HOSTILE_SEEDS KRT_HOSTILE_WORK KRT_HOSTILE_SECONDS=$seconds KRT_HOSTILE_FIRST=${KRT_HOSTILE_FIRST:-0} \
       KRT_HOSTILE_CASES=${KRT_HOSTILE_CASES:-1500}
KRT_HOSTILE_SEEDS=$(winepath -w "$(dirname "$0")/../hostile/seeds" 2>/dev/null)
KRT_HOSTILE_WORK=$(winepath -w "$E2E_WORK/mutants" 2>/dev/null)
OUT=$E2E_ARTIFACTS/cases.log ERR=$E2E_ARTIFACTS/stderr.log
( cd "$E2E_WORK" && exec timeout -k 5 $((seconds + 90)) wine "$E2E_BUILD/e2e_hostile_files.exe" ) >"$OUT" 2>"$ERR"
status=$?
summary=$(grep -a '^\[hostile\]' "$OUT" | tr -d '\r')
e2e_log "${summary:-no summary; the last case: $(grep -a '^case' "$OUT" | tail -1)}"
if ((status != 0)) || grep -qai 'unhandled' "$ERR"; then
  cp "$E2E_WORK"/mutants/* "$E2E_ARTIFACTS/" 2>/dev/null  # the file that was loading
  e2e_log "the last case: $(grep -a '^case' "$OUT" | tail -1)"
fi
check ends_with_code_0_in_time equals "$status" 0
no_unhandled_exception() { ! grep -ai 'unhandled' "$ERR" >&2; }
check no_unhandled_exception no_unhandled_exception
check every_load_returns_0_or_1_and_writes_nothing eval '[[ $summary == *", 0 faults" ]]'
e2e_finish
