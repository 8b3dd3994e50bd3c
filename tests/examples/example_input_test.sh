#!/usr/bin/env bash
# The example program on the wine data (its output as published), asked for
# help, and on hostile input, which it must refuse at once with a message
# that says why and a nonzero exit.
# Usage: example_input_test.sh EXAMPLE [RUNNER...]
set -uo pipefail
EXAMPLE=$1
shift
HERE=$(cd "$(dirname "$0")" && pwd)
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
FAILED=0

run() {  # run ARGS...: the example with ARGS, its output in $DIR/out, exit code in RC
  "${RUNNER[@]}" "$EXAMPLE" "$@" >"$DIR/out" 2>&1 </dev/null
  RC=$?
}

check() {  # check NAME EXIT-CODE TEXT
  if [ "$RC" -ne "$2" ] || ! grep -qF -- "$3" "$DIR/out"; then
    echo "FAIL $1: exit $RC (expected $2), output:"
    head -c 2000 "$DIR/out"
    echo
    FAILED=1
  else
    echo "ok   $1"
  fi
}

RUNNER=("$@")

# The wine data it carries, as published (all but the line naming the file).
run
if [ "$RC" -ne 0 ] || ! tail -n +2 "$DIR/out" | cmp -s - "$HERE/example_wine_expected.txt"; then
  echo "FAIL wine: exit $RC, output differs:"
  tail -n +2 "$DIR/out" | diff - "$HERE/example_wine_expected.txt" | head -40
  FAILED=1
else
  echo "ok   wine"
fi

# -h and --help: the usage text, exit 0 (once "cannot open --help").
for HELP in -h --help; do
  run "$HELP"
  check "$HELP" 0 "Usage: orvcalckit_example [FILE.csv [FIRST-COLUMN LAST-COLUMN]]"
done

# 256 MiB of NUL bytes without a line break: refused at the first byte.
head -c 268435456 /dev/zero >"$DIR/nul.csv"
run "$DIR/nul.csv"
check "NUL bytes" 1 "line 1: holds a NUL byte"
rm -f "$DIR/nul.csv"

# One line of 17 million digits: refused once 16 MiB are read.
head -c 17000000 /dev/zero | tr '\0' '7' >"$DIR/long.csv"
run "$DIR/long.csv"
check "long line" 1 "line 1: longer than 16777216 bytes"
rm -f "$DIR/long.csv"

# Fields of 1e308 whose squared deviations overflow.
printf 'a,b\n1e308,1\n-1e308,2\n1e308,4\n' >"$DIR/overflow.csv"
run "$DIR/overflow.csv"
check "overflowing sums" 1 "column 1 (a) spreads so wide that the sums of its squared deviations overflow"

# 10001 columns: more than CalcPrincComp takes, said before any work.
awk 'BEGIN { for (r = 0; r < 3; r++) { s = r; for (c = 1; c < 10001; c++) s = s "," (c * (r + 1)) % 7; print s } }' \
  >"$DIR/wide.csv"
run "$DIR/wide.csv"
check "10001 columns" 2 "10001 variables, but CalcPrincComp analyses at most 10000"
run "$DIR/wide.csv" 1 3
check "3 of 10001 columns" 0 "variables 1..3 of 10001"

# 500 columns: the size of the eigenproblem is told before the work starts.
awk 'BEGIN { for (r = 0; r < 3; r++) { s = r; for (c = 1; c < 500; c++) s = s "," (c * c * (r + 2)) % 11; print s } }' \
  >"$DIR/large.csv"
run "$DIR/large.csv"
check "500 columns" 0 "500 variables: a 500 x 500 correlation matrix and eigenproblem"

# 1e8, 1e8, 1e8 + 2^-26 beside 1, 2, 3: correlation sqrt(3) / 2, eigenvalues
# 1 +- sqrt(3) / 2, shares 93.30 % and 6.70 %.
printf 'a,b\n100000000,1\n100000000,2\n100000000.00000002,3\n' >"$DIR/offset.csv"
run "$DIR/offset.csv"
check "column far from 0" 0 "        1      1.8660    93.30         93.30"
check "column far from 0" 0 "        2      0.1340     6.70        100.00"

exit $FAILED
