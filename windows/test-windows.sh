#!/bin/sh
# Runs the Windows build under Wine: the core's test suites, then the batch commands on the sample
# building with the paths a Windows user types, comparing every file they write with what the
# Linux program writes from the same input.
#   test-windows.sh <Windows build folder> <Linux orvantis>
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
bw=$(cd "$1" && pwd)
linux=$2
export WINEPREFIX="$bw/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
passed=0
failed=0
ok() { passed=$((passed + 1)); printf 'ok   %s\n' "$1"; }
bad() { failed=$((failed + 1)); printf 'FAIL %s\n' "$1"; }
check() { if [ "$1" = 0 ]; then ok "$2"; else bad "$2"; fi; }

wineboot -i >/dev/null 2>&1

for suite in base dxf products tables model calc report app; do
  wine "$bw/orvantis_tests_$suite.exe" --gtest_brief=1 >"$bw/tests_$suite.log" 2>&1
  code=$?
  summary=$(grep -E '^\[  (PASSED|FAILED) ' "$bw/tests_$suite.log" | tr '\n' ' ')
  check $code "test suite $suite under Wine: $summary"
  [ $code = 0 ] || grep -E '^\[  FAILED' "$bw/tests_$suite.log" | head -20
done

drive=$WINEPREFIX/drive_c
rm -rf "$drive/Orvantis Test" "$bw/linux-runs"
mkdir -p "$drive/Orvantis Test/My Projects" "$drive/Orvantis Test/Results" "$bw/linux-runs"

# A copy of the sample building whose project, floor and room names hold Windows-1252 letters.
make_accented() {
  cp -r "$here/examples/sample" "$1"
  sed -i -e 's/roomname="Corridor"/roomname="Corridoio \&#232; \&#8364;"/g' "$1/SAMPLE.LENI1XML"
}

# The same report on Linux and under Wine; the files each writes are compared.
# $1 name, $2 project folder to create (Linux side, relative), $3 Windows project path as typed,
# $4 Windows results path as typed, $5 maker of the project folder
run_report() {
  name=$1
  lin="$bw/linux-runs/$name"
  mkdir -p "$lin"
  $5 "$lin/project"
  "$linux" report "$lin/project/SAMPLE.LENI1XML" "$lin/SAMPLE_NUVA_DB.XML" "$lin/log.txt" >/dev/null
  lcode=$?
  wine "$bw/orvantis.exe" report "$3" "$4\\SAMPLE_NUVA_DB.XML" "$4\\log.txt" >/dev/null 2>&1
  wcode=$?
  [ $lcode = 0 ] && [ $wcode = 0 ]
  check $? "report $name: exit codes Linux $lcode, Windows $wcode"
}

copy_sample() { cp -r "$here/examples/sample" "$1"; }

compare() { # $1 label, $2 Linux file, $3 Windows file, $4 "crlf" when Windows ends lines with CR LF
  if [ ! -f "$3" ]; then bad "$1: the Windows program wrote no file"; return; fi
  if [ "${4:-}" = crlf ]; then
    tr -d '\r' <"$3" >"$3.lf"
    cmp -s "$2" "$3.lf"
  else
    cmp -s "$2" "$3"
  fi
  check $? "$1"
}

# 1. A drive-letter path with blanks, in quotes.
make_plain() { copy_sample "$1"; }
make_plain "$drive/Orvantis Test/My Projects/Sample"
mkdir -p "$drive/Orvantis Test/Results/plain"
run_report plain "" 'C:\Orvantis Test\My Projects\Sample\SAMPLE.LENI1XML' 'C:\Orvantis Test\Results\plain' make_plain
w="$drive/Orvantis Test/Results/plain"; l="$bw/linux-runs/plain"
compare "plain: results file byte for byte" "$l/SAMPLE_NUVA_DB.XML" "$w/SAMPLE_NUVA_DB.XML"
compare "plain: project copy byte for byte" "$l/SAMPLE_NUVA_DB_(CON_RISULTATI).XML" "$w/SAMPLE_NUVA_DB_(CON_RISULTATI).XML"
compare "plain: calculation log (CR LF lines)" "$l/project/LENI_CALC_LOG_SAMPLE.TXT" \
  "$drive/Orvantis Test/My Projects/Sample/LENI_CALC_LOG_SAMPLE.TXT" crlf

# 2. The folder typed in other letter case than it has on disk.
mkdir -p "$drive/Orvantis Test/Results/case"
rm -rf "$drive/Orvantis Test/My Projects/Sample"
make_plain "$drive/Orvantis Test/My Projects/Sample"
run_report case "" 'C:\ORVANTIS TEST\my projects\SAMPLE\sample.leni1xml' 'c:\orvantis test\RESULTS\Case' make_plain
w="$drive/Orvantis Test/Results/case"; l="$bw/linux-runs/case"
compare "letter case: results file byte for byte" "$l/SAMPLE_NUVA_DB.XML" "$w/SAMPLE_NUVA_DB.XML"
compare "letter case: project copy byte for byte" "$l/SAMPLE_NUVA_DB_(CON_RISULTATI).XML" "$w/SAMPLE_NUVA_DB_(CON_RISULTATI).XML"

# 3. Windows-1252 names in the project.
mkdir -p "$drive/Orvantis Test/Results/accented"
make_accented "$drive/Orvantis Test/My Projects/Accented"
run_report accented "" 'C:\Orvantis Test\My Projects\Accented\SAMPLE.LENI1XML' 'C:\Orvantis Test\Results\accented' make_accented
w="$drive/Orvantis Test/Results/accented"; l="$bw/linux-runs/accented"
compare "Windows-1252 names: results file byte for byte" "$l/SAMPLE_NUVA_DB.XML" "$w/SAMPLE_NUVA_DB.XML"
compare "Windows-1252 names: project copy byte for byte" "$l/SAMPLE_NUVA_DB_(CON_RISULTATI).XML" \
  "$w/SAMPLE_NUVA_DB_(CON_RISULTATI).XML"
grep -q 'Corridoio &#xE8; &#x20AC;' "$w/SAMPLE_NUVA_DB_(CON_RISULTATI).XML"
check $? "Windows-1252 names: the room names come back as written"
lname=$(cd "$l/project" && ls LENI_CALC_LOG_* 2>/dev/null)
compare "Windows-1252 names: calculation log $lname (CR LF lines)" "$l/project/$lname" \
  "$drive/Orvantis Test/My Projects/Accented/$lname" crlf

# 4. dxftoxml with a drive-letter path in quotes and a comma height.
mkdir -p "$bw/linux-runs/dxf" "$drive/Orvantis Test/Plans"
cp "$here/examples/sample/Typical.DXF" "$drive/Orvantis Test/Plans/Level 1.dxf"
cp "$here/examples/sample/Typical.DXF" "$bw/linux-runs/dxf/Level 1.dxf"
"$linux" dxftoxml "$bw/linux-runs/dxf/Level 1.dxf" "$bw/linux-runs/dxf/plan.LENI1XML" 3,2 "$bw/linux-runs/dxf/log.txt" >/dev/null
lcode=$?
wine "$bw/orvantis.exe" dxftoxml 'C:\Orvantis Test\Plans\Level 1.dxf' 'C:\Orvantis Test\Plans\plan.LENI1XML' 3,2 \
  'C:\Orvantis Test\Plans\log.txt' >/dev/null 2>&1
wcode=$?
[ $lcode = 0 ] && [ $wcode = 0 ]
check $? "dxftoxml: exit codes Linux $lcode, Windows $wcode"
compare "dxftoxml: project file byte for byte" "$bw/linux-runs/dxf/plan.LENI1XML" "$drive/Orvantis Test/Plans/plan.LENI1XML"

# 5. Exit codes of refused commands.
for case in "report C:\\nowhere\\p.LENI1XML C:\\r.xml C:\\l.txt:8" "report only-one:2" "frobnicate a b c:7" \
            "dxftoxml C:\\nowhere\\nothing.dxf C:\\p.xml 3 C:\\l.txt:8"; do
  args=${case%:*}
  want=${case##*:}
  # shellcheck disable=SC2086
  wine "$bw/orvantis.exe" $args >/dev/null 2>&1
  got=$?
  [ "$got" = "$want" ]
  check $? "exit code of '$args': $got (wants $want)"
done

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
