#!/bin/sh
# valgrind-failed-init.sh VALGRIND AMI_RUN LIBRARY PARAMETERS EXPECTED
#
# A setting that makes AMI_Init fail, then AMI_GetWave, then the host reads
# the message through the pointer Init handed out. Passes when valgrind finds
# no invalid access or leak (exit 3 otherwise), the host saw the failure
# (exit 1) and the message read after GetWave starts with EXPECTED.
valgrind=$1 host=$2 lib=$3 params=$4 expected=$5
err=$("$valgrind" --quiet --error-exitcode=3 --leak-check=full \
      --errors-for-leak-kinds=definite,indirect,possible \
      "$host" "$lib" "$params" 1.666666666666667e-10 5.208333333333334e-12 64 256 2>&1 >/dev/null)
rc=$?
printf '%s\n' "$err"
[ "$rc" -eq 1 ] || { echo "exit status $rc, expected 1"; exit 1; }
printf '%s\n' "$err" | grep -qF "msg after GetWave \"$expected" || { echo "message lost"; exit 1; }
