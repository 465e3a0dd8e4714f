#!/bin/sh
# Installs the build into a temporary prefix and looks at the installation as a user and the
# desktop do: the installed program's report on the installed sample, --help, --version, the menu
# entry (and its Exec line opening a project, then handing a second one to the running program),
# the project file type, the AppStream data, the icons, the manual page and the completion.
#   check_install.sh <build folder> <version> <1 when the build has the desktop program>
# Exit 77 (skipped) when a checking program is missing, naming it.
set -u
build=$1
version=$2
gui=$3

for tool in desktop-file-validate appstreamcli update-mime-database gio man bash; do
  if ! command -v $tool >/dev/null 2>&1; then
    echo "SKIPPED: $tool is not installed (make test installs it)"
    exit 77
  fi
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/orvantis-install.XXXXXX")
pids=""
cleanup() {
  for pid in $pids; do kill "$pid" 2>/dev/null; done
  rm -rf "$tmp"
}
trap cleanup EXIT
status=0
fail() {
  echo "FAIL: $*"
  status=1
}

prefix=$tmp/prefix
if ! cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
  cat "$tmp/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi
exe=$prefix/bin/orvantis
share=$prefix/share
id=com.tolvane.Orvantis

# --help and --version answer on the standard output with 0.
out=$("$exe" --help 2>"$tmp/err"); rc=$?
[ $rc -eq 0 ] || fail "--help exit code $rc"
[ -s "$tmp/err" ] && fail "--help wrote to the error stream"
for word in "orvantis open" "orvantis report" "orvantis dxftoxml" "orvantis pdf" "orvantis csv" "--version" "Exit codes"; do
  case $out in *"$word"*) ;; *) fail "--help does not show \"$word\"" ;; esac
done
out=$("$exe" -h); [ $? -eq 0 ] && [ -n "$out" ] || fail "-h"
out=$("$exe" --version); rc=$?
[ $rc -eq 0 ] && [ "$out" = "orvantis $version" ] || fail "--version gave $rc \"$out\", not \"orvantis $version\""
"$exe" --frobnicate >/dev/null 2>&1; rc=$?
[ $rc -eq 7 ] || fail "an unknown option gave $rc, not 7"

# The installed sample, calculated by the installed program as the manual page shows: copied first.
sample=$share/orvantis/examples/sample
[ -f "$sample/SAMPLE.LENI1XML" ] || fail "no sample building in $sample"
cp -r "$sample" "$tmp/sample"
out=$("$exe" report "$tmp/sample/SAMPLE.LENI1XML" "$tmp/SAMPLE_NUVA_DB.XML" "$tmp/report-log.txt"); rc=$?
[ $rc -eq 0 ] || fail "report on the installed sample: exit code $rc"
built=$(mktemp -d "$tmp/built.XXXXXX")
cp -r "$sample" "$built/sample"
expected=$("$build/orvantis" report "$built/sample/SAMPLE.LENI1XML" "$tmp/SAMPLE_NUVA_DB.XML" "$built/log.txt")
[ "$out" = "$expected" ] || fail "installed report printed \"$out\", the build's \"$expected\""
case $out in "Annual LENI "*" kWh/(m² year), results in $tmp/SAMPLE_NUVA_DB.XML") ;; *) fail "report printed \"$out\"" ;; esac
for file in "$tmp/SAMPLE_NUVA_DB.XML" "$tmp/SAMPLE_NUVA_DB_(CON_RISULTATI).XML" "$tmp/sample/LENI_CALC_LOG_SAMPLE.TXT"; do
  [ -s "$file" ] || fail "report did not write $file"
done

# The manual where the installed program looks for it, and the manual page and the completion
# where man and bash find them.
[ -f "$share/orvantis/manual/index.html" ] || fail "no manual in $share/orvantis/manual"
page=$(MANPATH=$share/man man -w orvantis 2>/dev/null)
[ "$page" = "$share/man/man1/orvantis.1.gz" ] || fail "man finds \"$page\" for orvantis"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/orvantis.1.gz" 2>&1 >"$tmp/man.txt")
[ -z "$warnings" ] || fail "the manual page has warnings: $warnings"
for word in open report dxftoxml pdf csv advise compare --help --version "EXIT STATUS" FILES ENVIRONMENT XDG_DATA_HOME LENI_V1_LOG.TXT; do
  grep -q -- "$word" "$tmp/man.txt" || fail "the manual page does not mention $word"
done
completion=$share/bash-completion/completions/orvantis
words=$(bash -c 'shopt -s extglob; . "$1"; COMP_WORDS=(orvantis ""); COMP_CWORD=1; _orvantis; echo "${COMPREPLY[*]}"' sh "$completion")
[ "$words" = "open report dxftoxml pdf csv advise compare --help -h --version" ] || fail "completion of the command word: \"$words\""
files=$(cd "$tmp/sample" && bash -c 'shopt -s extglob; . "$1"; COMP_WORDS=(orvantis dxftoxml ""); COMP_CWORD=2; _orvantis; echo "${COMPREPLY[*]}"' sh "$completion" | tr ' ' '\n' | sort | tr '\n' ' ')
[ "$files" = "Ground.DXF Top.DXF Typical.DXF " ] || fail "completion of a DXF file: \"$files\""

if [ "$gui" != 1 ]; then
  for file in applications/$id.desktop metainfo/$id.metainfo.xml mime/packages/$id.xml; do
    [ -e "$share/$file" ] && fail "$file installed by a build without the desktop program"
  done
  exit $status
fi

# The menu entry, the AppStream data and the icons.
desktop=$share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >"$tmp/appstream.txt" 2>&1 ||
  { cat "$tmp/appstream.txt"; fail "appstreamcli validate"; }
grep -qx "Icon=$id" "$desktop" || fail "the menu entry names another icon"
grep -qx "MimeType=application/x-orvantis-project;" "$desktop" || fail "the menu entry does not open project files"
[ -f "$share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon"
for size in 16 24 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x$size/apps/$id.png
  # The width and height stand in the PNG header at bytes 16 to 23, big-endian.
  set -- $(od -An -tu1 -j16 -N8 "$png" 2>/dev/null) 0 0 0 0 0 0 0 0
  width=$(($1 * 16777216 + $2 * 65536 + $3 * 256 + $4))
  height=$(($5 * 16777216 + $6 * 65536 + $7 * 256 + $8))
  [ $width = $size ] && [ $height = $size ] || fail "$png is $width x $height, not $size x $size"
done

# The project file type: by its name and, without one, by its first bytes.
update-mime-database "$share/mime" >"$tmp/mime.txt" 2>&1 || { cat "$tmp/mime.txt"; fail "update-mime-database"; }
cp "$tmp/sample/SAMPLE.LENI1XML" "$tmp/lower.leni1xml"
cp "$tmp/sample/SAMPLE.LENI1XML" "$tmp/no-extension"
cp "$tmp/sample/LENI_V1_LUM_DB.XML" "$tmp/other.xml"
mimetype() {
  XDG_DATA_DIRS=$share XDG_DATA_HOME=$tmp/nothing gio info -a standard::content-type "$1" 2>/dev/null |
    sed -n 's/^ *standard::content-type: //p'
}
for file in "$tmp/sample/SAMPLE.LENI1XML" "$tmp/lower.leni1xml" "$tmp/no-extension"; do
  type=$(mimetype "$file")
  [ "$type" = application/x-orvantis-project ] || fail "$(basename "$file") is seen as \"$type\""
done
type=$(mimetype "$tmp/other.xml")
[ "$type" != application/x-orvantis-project ] || fail "a luminaire database is taken for a project"

# A double click: the menu entry's command line with the file, then a second file while the
# program runs, which the running program opens.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ "$exec_line" = "orvantis open %f" ] || fail "the menu entry runs \"$exec_line\""
mkdir -p "$tmp/home/ORVANTIS NUVA" "$tmp/runtime" "$tmp/second"
chmod 700 "$tmp/runtime"
cp "$tmp/sample/LENI_V1_LUM_DB.XML" "$tmp/home/ORVANTIS NUVA/"
cp "$tmp/sample/"*.DXF "$tmp/second/"
cp "$tmp/sample/SAMPLE.LENI1XML" "$tmp/second/SECOND.LENI1XML"
export XDG_DATA_HOME=$tmp/home XDG_RUNTIME_DIR=$tmp/runtime QT_QPA_PLATFORM=offscreen
log="$tmp/home/ORVANTIS NUVA/LENI_V1_LOG.TXT"
PATH=$prefix/bin:$PATH $(echo "$exec_line" | sed "s|%f|$tmp/sample/SAMPLE.LENI1XML|") >"$tmp/desktop.txt" 2>&1 &
pids=$!
waited=0
until grep -q "Read project file <$tmp/sample/SAMPLE.LENI1XML>" "$log" 2>/dev/null || [ $waited -ge 300 ]; do
  sleep 0.1; waited=$((waited + 1))
done
[ $waited -lt 300 ] || fail "the desktop program did not open the project: $(cat "$tmp/desktop.txt")"
grep -q "help file not found" "$log" && fail "the installed desktop program did not find its manual"
(cd "$tmp/second" && timeout 20 "$exe" open SECOND.LENI1XML); rc=$?
[ $rc -eq 0 ] || fail "the second open ended with $rc"
waited=0
until grep -q "Read project file <$tmp/second/SECOND.LENI1XML>" "$log" 2>/dev/null || [ $waited -ge 100 ]; do
  sleep 0.1; waited=$((waited + 1))
done
[ $waited -lt 100 ] || fail "the running program did not open the second project"
kill -0 $pids 2>/dev/null || fail "the desktop program ended: $(cat "$tmp/desktop.txt")"
[ "$(grep -c "Logging to" "$log")" = 1 ] || fail "a second desktop program started"
exit $status
