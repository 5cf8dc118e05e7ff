#!/bin/sh
# Runs a test program under Wine with its Unix standard error in a file that
# the program can read, named in LOOK_STDERR_FILE. A Wine process writes its
# debug trace to the Unix standard error it inherited, whatever handles its
# parent gave it, so this is where the trace of a program the test starts
# lands. Afterwards the file is passed on to standard error without the trace.
#   stderr_to_file.sh WINE PROGRAM [ARGUMENTS...]
set -u
wine=$1
shift
file=$(mktemp "${TMPDIR:-/tmp}/look-stderr.XXXXXX")
LOOK_STDERR_FILE=$file "$wine" "$@" 2>"$file"
status=$?
grep -v -E '^[0-9a-f]+:(Call|Ret|Starting|trace:relay)' "$file" >&2
rm -f "$file"
exit $status
