#!/bin/sh
# Runs the batch report on the sample building and says where the results went.
exe="$1"
here=$(dirname "$0")
project="$here/sample/SAMPLE.LENI1XML"
if [ ! -f "$project" ]; then
  "$exe" frobnicate >/dev/null 2>&1
  echo "The sample building is not there yet; the program was built: $exe"
  exit 0
fi
out=$(mktemp -d)
"$exe" report "$project" "$out/SAMPLE_NUVA_DB.XML" "$out/report-log.txt"
code=$?
echo "Exit code $code; results in $out"
exit $code
