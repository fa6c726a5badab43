#!/usr/bin/env bash
# Runs one end-to-end case: run_case.sh CASE PATH-TO-TESSARO
# Exit status 0 passed, 77 skipped (no X server to be had), anything else failed.
set -u
export LC_ALL=C.UTF-8 # xdotool reads the text to type in the locale's encoding

here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
. "$here/cases.sh"
. "$here/cases_screen_fit.sh"
. "$here/cases_handover.sh"
. "$here/cases_encodings.sh"

[ $# -eq 2 ] || { echo "usage: $0 CASE TESSARO" >&2; exit 2; }
declare -F "case_$1" >/dev/null || { echo "no such case: $1" >&2; exit 2; }

make_program_dir "$2"
"case_$1"
echo "PASS: $1"
