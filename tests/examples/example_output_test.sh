#!/usr/bin/env bash
# An example program of a main job on the data it carries: it answers -h and
# --help with its usage text and prints what tests/examples/NAME_expected.txt
# holds, every number to within one unit of the last digit it prints (other
# text exactly). The references come from sources independent of the library
# (NIST certified values, NumPy and SciPy), written by
# tools/make-example-references. The picture example's PNG file is decoded by
# PNG-READER (libpng) and its size and pixels compared with
# picture_expected_pixels.txt, each colour channel to within 1.
# Usage: example_output_test.sh NAME EXAMPLE PNG-READER [RUNNER...]
set -uo pipefail
NAME=$1
EXAMPLE=$2
PNG_READER=$3
shift 3
RUNNER=("$@")
HERE=$(cd "$(dirname "$0")" && pwd)
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
FAILED=0

report() {  # report NAME OK DETAILS-FILE
  if [ "$2" -eq 0 ]; then
    echo "ok   $1"
  else
    echo "FAIL $1:"
    head -c 3000 "$3"
    echo
    FAILED=1
  fi
}

# Compares the lines of GOT with those of WANT (lines of WANT starting with #
# left out): the same tokens, where a token holds a number (a sign, digits
# with a point, an exponent; text around it must match) the two differ by at
# most one unit of WANT's last digit; integers exactly.
compare() {  # compare GOT WANT
  awk '
    function unit(s,   d, e, p) {
      p = index(s, "."); if (p == 0 && s !~ /[eE]/) return 0
      e = 0; if (match(s, /[eE][-+]?[0-9]+$/)) { e = substr(s, RSTART + 1) + 0; s = substr(s, 1, RSTART - 1) }
      d = p ? length(s) - p : 0
      return 10 ^ (e - d)
    }
    function same(g, w,   gp, gs, wp, ws, gn, wn, u) {
      if (g == w) return 1
      if (!match(w, /[-+]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][-+]?[0-9]+)?/)) return 0
      wp = substr(w, 1, RSTART - 1); wn = substr(w, RSTART, RLENGTH); ws = substr(w, RSTART + RLENGTH)
      if (!match(g, /[-+]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][-+]?[0-9]+)?/)) return 0
      gp = substr(g, 1, RSTART - 1); gn = substr(g, RSTART, RLENGTH); gs = substr(g, RSTART + RLENGTH)
      if (gp != wp || gs != ws || ws ~ /[0-9]/ || (u = unit(wn)) == 0) return 0
      return (gn - wn <= 1.01 * u && wn - gn <= 1.01 * u)
    }
    NR == FNR { got[++ng] = $0; next }
    /^#/ { next }
    { want[++nw] = $0 }
    END {
      bad = 0
      for (i = 1; i <= (ng > nw ? ng : nw); ++i) {
        ok = (i <= ng && i <= nw)
        if (ok) {
          n = split(got[i], g); m = split(want[i], w)
          ok = (n == m)
          for (k = 1; ok && k <= n; ++k) ok = same(g[k], w[k])
        }
        if (!ok) { print "line " i ":\n  got:  " got[i] "\n  want: " want[i]; bad = 1 }
      }
      exit bad
    }' "$1" "$2"
}

for HELP in -h --help; do
  "${RUNNER[@]}" "$EXAMPLE" "$HELP" >"$DIR/help" 2>&1 </dev/null
  RC=$?
  grep -q "^Usage: orvcalckit_$NAME" "$DIR/help" && grep -q -- "-h, --help" "$DIR/help"
  report "$HELP" $((RC != 0 || $? != 0)) "$DIR/help"
done

ARGS=()
[ "$NAME" = picture ] && ARGS=("$DIR/wine_correlation.png")
"${RUNNER[@]}" "$EXAMPLE" "${ARGS[@]}" >"$DIR/out" 2>"$DIR/err" </dev/null
RC=$?
sed -i "s|$DIR/||" "$DIR/out"
{ cat "$DIR/err"; compare "$DIR/out" "$HERE/${NAME}_expected.txt"; } >"$DIR/diff"
report "output" $((RC != 0 || $? != 0)) "$DIR/diff"

if [ "$NAME" = picture ]; then
  COORDS=$(grep -v '^#' "$HERE/picture_expected_pixels.txt" | tail -n +2 | cut -d' ' -f1,2)
  # shellcheck disable=SC2086
  "${RUNNER[@]}" "$PNG_READER" "$DIR/wine_correlation.png" $COORDS >"$DIR/pixels" 2>&1
  RC=$?
  paste -d' ' "$DIR/pixels" <(grep -v '^#' "$HERE/picture_expected_pixels.txt") | awk '
    NR == 1 { if ($1 != $3 || $2 != $4) { print "size " $1 " x " $2 ", want " $3 " x " $4; bad = 1 }; next }
    { for (k = 3; k <= 5; ++k) if ($k - $(k + 5) > 1 || $(k + 5) - $k > 1) { print "pixel " $1 " " $2 ": " $3 " " $4 " " $5 ", want " $8 " " $9 " " $10; bad = 1; break } }
    END { exit bad }' >"$DIR/diff"
  report "PNG size and pixels" $((RC != 0 || $? != 0)) "$DIR/diff"
  # A name SaveArrayAsImg does not write: said, exit 1, no file.
  "${RUNNER[@]}" "$EXAMPLE" "$DIR/w.gif" >/dev/null 2>"$DIR/err" </dev/null
  RC=$?
  grep -q "SaveArrayAsImg gave -1" "$DIR/err" && [ ! -e "$DIR/w.gif" ]
  report "refused file name" $((RC != 1 || $? != 0)) "$DIR/err"
fi

exit $FAILED
