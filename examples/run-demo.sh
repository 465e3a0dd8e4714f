#!/bin/sh
# Runs the batch report on the sample building and says where the results went.
# The sample is copied first: the calculation log is written beside the project file.
exe="$1"
here=$(dirname "$0")
out=$(mktemp -d "${TMPDIR:-/tmp}/orvantis-demo.XXXXXX")
cp -r "$here/sample" "$out/sample"
"$exe" report "$out/sample/SAMPLE.LENI1XML" "$out/SAMPLE_NUVA_DB.XML" "$out/report-log.txt"
code=$?
if [ $code -eq 0 ]; then
  echo "Project copy with results: $out/SAMPLE_NUVA_DB_(CON_RISULTATI).XML"
  echo "Building calculation log:  $out/sample/LENI_CALC_LOG_SAMPLE.TXT"
else
  echo "The report failed with exit code $code; see $out/report-log.txt"
fi
exit $code
