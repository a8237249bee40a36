#!/usr/bin/env bash
# Runs a Windows test executable under a Western code page (1252): in the second Wine prefix,
# with its locale and on its display, which scripts/test prepares (KRT_WESTERN_PREFIX,
# KRT_WESTERN_DISPLAY, KRT_WESTERN_LOCALE).
set -u
if [[ -z ${KRT_WESTERN_PREFIX:-} || -z ${KRT_WESTERN_DISPLAY:-} || -z ${KRT_WESTERN_LOCALE:-} ]]; then
  echo "western.sh: no Western session; run the tests through scripts/test" >&2
  exit 1
fi
export WINEPREFIX=$KRT_WESTERN_PREFIX DISPLAY=$KRT_WESTERN_DISPLAY LC_ALL=$KRT_WESTERN_LOCALE
exec wine "$@"
